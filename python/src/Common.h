#ifndef NORVEXT_PYTHON_COMMON_H
#define NORVEXT_PYTHON_COMMON_H

// What every source of the Python module shares: boost::shared_ptr as the
// holder of the bound classes (the library hands terms and summaries around
// in it), and texts that are bytes in C++ and str in Python.

#include <pybind11/pybind11.h>

#include <boost/shared_ptr.hpp>

#include <string>

PYBIND11_DECLARE_HOLDER_TYPE(T, boost::shared_ptr<T>, true)

namespace NorvPython {

namespace py = pybind11;

/// `bytes` as a str; bytes that are not UTF-8 become lone surrogates
/// (Python's "surrogateescape"), so that bytesOf() gives them back.
py::str textOf(const std::string& bytes);

/// The bytes of `text`, its surrogates back to the bytes they stand for.
/// Throws py::error_already_set (TypeError) for an object that is not a str.
std::string bytesOf(const py::handle& text);

/// Adds the data classes of NorvExt to `module`.
void bindPersisted(py::module_& module);

/// Adds the search-output functions and classes to `module`.
void bindSearch(py::module_& module);

}  // namespace NorvPython

#endif
