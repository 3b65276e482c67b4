// The C extension of the package norvext: the data classes and the search
// reader. The package's Python files (python/norvext/) shape its face.
#include "python/src/Common.h"

namespace NorvPython {

py::str textOf(const std::string& bytes) {
    PyObject* text = PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape");
    if (text == nullptr) {
        throw py::error_already_set();
    }
    return py::reinterpret_steal<py::str>(text);
}

std::string bytesOf(const py::handle& text) {
    if (!PyUnicode_Check(text.ptr())) {
        throw py::type_error("expected a str, got " + std::string(py::str(py::type::of(text).attr("__name__"))));
    }
    PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
    if (bytes == nullptr) {
        throw py::error_already_set();
    }
    const py::bytes owned = py::reinterpret_steal<py::bytes>(bytes);
    return std::string(PyBytes_AS_STRING(bytes), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes)));
}

}  // namespace NorvPython

PYBIND11_MODULE(_norvext, module) {
    module.doc() = "NorvExt's data classes and search-output reader (the C++ side of the package norvext).";
    NorvPython::bindPersisted(module);
    NorvPython::bindSearch(module);
}
