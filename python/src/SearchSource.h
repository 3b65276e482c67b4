#ifndef NORVEXT_PYTHON_SEARCHSOURCE_H
#define NORVEXT_PYTHON_SEARCHSOURCE_H

#include "python/src/Common.h"

#include <norvext/search/SearchFormat.h>

#include <exception>
#include <functional>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

namespace NorvSearch {
struct QueryResult;
}

namespace NorvPython {

/// A file that cannot be opened; Python sees an OSError with its errno.
struct OpenError : std::runtime_error {
    OpenError(const std::string& path, int error) : std::runtime_error(path), code(error) {}
    /// The errno of the failed open.
    int code;
};

/// Where search output comes from: a path, or a Python binary file object
/// read through its read(), and the reader's settings.
class SearchSource {
public:
    /// `items` are paths (str) and binary file objects, read in turn;
    /// `format` names a format (formatName()) or is empty to recognise it;
    /// `fields` are the tabular columns (SearchReader::setFields). Throws
    /// py::value_error for an unknown format or field list. Call with the
    /// GIL held.
    SearchSource(const py::list& items, const std::string& format, const std::vector<std::string>& fields);
    /// Releases the file objects; call with the GIL held.
    ~SearchSource();
    SearchSource(const SearchSource&) = delete;
    SearchSource& operator=(const SearchSource&) = delete;

    /// Reads every item in turn, calling `each` with every query. Call
    /// without the GIL: file objects take it for each block they read.
    /// Throws NorvSearch::SearchError, OpenError, or what a file object's
    /// read() raised (py::error_already_set), or what `each` throws.
    void read(const std::function<void(NorvSearch::QueryResult&&)>& each) const;

private:
    struct Item {
        std::string name;
        std::string path;          // empty for a file object
        PyObject* file = nullptr;  // a new reference, or null for a path
    };
    std::vector<Item> m_items;
    std::optional<NorvSearch::SearchFormat> m_format;
    std::vector<std::string> m_fields;
};

}  // namespace NorvPython

#endif
