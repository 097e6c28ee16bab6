"""The error the readers raise."""


class FileError(OSError):
    """A file that could not be read or written.

    ``code`` is the Windows system error code the C++ reader gives (2 a
    missing file, 38 a file that ends early, 1392 a corrupt one, 8 no
    memory ...), ``message`` its meaning and ``filename`` the file.
    """

    def __init__(self, code, message, filename):
        super().__init__(message)  # errno stays None: the code is not an errno value
        self.code = code
        self.message = message
        self.filename = filename

    def __str__(self):
        return f"{self.filename}: error {self.code}: {self.message}"

    def __reduce__(self):
        return type(self), (self.code, self.message, self.filename)
