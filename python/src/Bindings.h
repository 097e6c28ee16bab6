// What the Python classes share: the error they raise, arrays over the
// readers' memory, and the rule for calling into a reader.
//
// Lifetime. Every reader object is imported once, in its constructor, and
// never changed afterwards, so the tables it holds stay where they are
// until it dies. An array over those tables takes the Python reader object
// as its base, which keeps the reader alive as long as any array over it
// lives. Results that the C++ reader hands out as new arrays (the static
// results) are moved into a capsule that the array owns instead.
//
// Threads. Reads run with the GIL released, under one lock for the whole
// library: it takes no locks of its own, keeps process-wide state (the
// maximum-LCE value an import of a JOB file sets and an OUC import reads)
// and some readers keep a scratch record or an open stream between calls.
#pragma once

#include <cstddef>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "platform/Types.h"

namespace telio_py {

namespace py = pybind11;

// A file that could not be read, raised in Python as telio.FileError with
// the code, the code's system message and the path.
class FileFailure : public std::runtime_error {
 public:
  FileFailure(ulong32 code, std::string path);
  ulong32 Code() const { return code_; }
  const std::string& Path() const { return path_; }

 private:
  ulong32 code_;
  std::string path_;
};

// Throws FileFailure for a nonzero code. A reader that answers 0xFFFFFFFF
// keeps the cause in the thread's last error, which is raised instead.
void Check(ulong32 code, const std::string& path);

std::mutex& LibraryLock();

// Runs f with the GIL released and the library's lock held. f must not
// touch Python objects.
template <class F>
auto Unlocked(F&& f) {
  py::gil_scoped_release release;
  std::lock_guard<std::mutex> hold(LibraryLock());
  return std::forward<F>(f)();
}

// A read-only array of dtype over data, kept alive by base. Without data
// (a table the reader does not hold) a zero-filled array of that shape.
py::array View(const py::dtype& dtype, std::vector<py::ssize_t> shape, std::vector<py::ssize_t> strides,
               const void* data, py::handle base);

// count records of size bytes, as a read-only 1-D array of raw records
// ("V<size>"); the Python layer gives them their named fields.
py::array Records(const void* data, std::size_t count, std::size_t size, py::handle base);

// A capsule that deletes owned with the last array using it.
template <class T>
py::capsule Own(T* owned) {
  return py::capsule(owned, [](void* p) { delete static_cast<T*>(p); });
}

// Text in the library's ANSI code page as a Python string.
py::str AnsiText(const char* text, std::size_t length);
py::str AnsiText(const char* text);
// Text in the OEM code page (the analysis files' own), at most max bytes up
// to its NUL.
py::str OemText(const char* text, std::size_t max);

void BindAnalysisFiles(py::module_& m);
void BindResults(py::module_& m);
void BindSampleJob(py::module_& m);
void BindDesign(py::module_& m);

}  // namespace telio_py
