// The extension module telio._telio: the readers' memory as arrays, and
// their error codes as telio.FileError. The package telio gives the arrays
// their named fields.
#include <cstring>
#include <exception>

#include <pybind11/stl.h>

#include "Bindings.h"
#include "platform/CException.h"
#include "platform/CodePage.h"
#include "platform/LastError.h"

namespace telio_py {

FileFailure::FileFailure(ulong32 code, std::string path)
    : std::runtime_error(path + ": error " + std::to_string(code) + ": " + telio::SystemErrorMessage(code)),
      code_(code),
      path_(std::move(path)) {}

std::mutex& LibraryLock() {
  static std::mutex lock;
  return lock;
}

void Check(ulong32 code, const std::string& path) {
  if (code == 0xFFFFFFFFu) code = telio::GetLastError();
  if (code != 0) throw FileFailure(code, path);
}

py::array View(const py::dtype& dtype, std::vector<py::ssize_t> shape, std::vector<py::ssize_t> strides,
               const void* data, py::handle base) {
  if (!data) return py::module_::import("numpy").attr("zeros")(py::tuple(py::cast(shape)), dtype);
  py::array a(dtype, std::move(shape), std::move(strides), data, base);
  py::detail::array_proxy(a.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
  return a;
}

py::array Records(const void* data, std::size_t count, std::size_t size, py::handle base) {
  const auto n = static_cast<py::ssize_t>(count);
  return View(py::dtype("V" + std::to_string(size)), {n}, {static_cast<py::ssize_t>(size)},
              count ? data : nullptr, base);
}

py::str AnsiText(const char* text, std::size_t length) {
  const std::string codec = "cp" + std::to_string(telio::AnsiCodePage());
  PyObject* s = PyUnicode_Decode(text, static_cast<py::ssize_t>(length), codec.c_str(), "replace");
  if (!s) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(s);
}

py::str AnsiText(const char* text) { return AnsiText(text, std::strlen(text)); }

py::str OemText(const char* text, std::size_t max) {
  const void* end = std::memchr(text, 0, max);
  std::string s(text, end ? static_cast<const char*>(end) - text : max);
  OemToCharBuffA(s.data(), s.data(), static_cast<ulong32>(s.size()));
  return AnsiText(s.data(), s.size());
}

}  // namespace telio_py

PYBIND11_MODULE(_telio, m) {
  namespace py = pybind11;
  using telio_py::FileFailure;
  m.doc() = "The readers of telio, the C++ library of the analysis suite's files.";
  m.attr("__version__") = TELIO_VERSION;

  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const FileFailure& e) {
      py::object type = py::module_::import("telio._errors").attr("FileError");
      py::object error = type(e.Code(), telio::SystemErrorMessage(e.Code()), e.Path());
      PyErr_SetObject(type.ptr(), error.ptr());
    } catch (CMemoryException*) {
      PyErr_NoMemory();
    } catch (CException* e) {
      PyErr_SetString(PyExc_RuntimeError, e->GetErrorMessage());
    }
  });

  m.def("system_error_message", [](ulong32 code) { return std::string(telio::SystemErrorMessage(code)); },
        py::arg("code"), "The system's text for a Windows error code.");

  telio_py::BindAnalysisFiles(m);
  telio_py::BindResults(m);
  telio_py::BindSampleJob(m);
  telio_py::BindDesign(m);
}
