#include "python/src/SearchSource.h"

#include <norvext/search/SearchReader.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>

namespace NorvPython {
namespace {

// A std::streambuf over a Python binary file object, pulling blocks through
// its read() with the GIL taken for each. An exception raised by read() is
// kept, the stream ends there, and the caller rethrows it (the reader would
// otherwise report it as a truncated file).
class PyFileBuf : public std::streambuf {
public:
    explicit PyFileBuf(PyObject* file) : m_file(file) {}

    void rethrow() const {
        if (m_error) {
            std::rethrow_exception(m_error);
        }
    }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        if (m_error) {
            return traits_type::eof();
        }
        try {
            py::gil_scoped_acquire gil;
            const py::object block = py::reinterpret_borrow<py::object>(m_file).attr("read")(s_blockSize);
            if (!PyBytes_Check(block.ptr())) {
                throw py::type_error("read() of a search source must give bytes (open the file in binary mode)");
            }
            const char* bytes = PyBytes_AS_STRING(block.ptr());
            m_block.assign(bytes, bytes + PyBytes_GET_SIZE(block.ptr()));
        } catch (...) {
            m_error = std::current_exception();
            return traits_type::eof();
        }
        if (m_block.empty()) {
            return traits_type::eof();
        }
        setg(m_block.data(), m_block.data(), m_block.data() + m_block.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    static constexpr Py_ssize_t s_blockSize = 1 << 16;
    PyObject* m_file;
    std::vector<char> m_block;
    std::exception_ptr m_error;
};

}  // namespace

SearchSource::SearchSource(const py::list& items, const std::string& format, const std::vector<std::string>& fields)
    : m_fields(fields) {
    if (!format.empty()) {
        NorvSearch::SearchFormat known;
        if (!NorvSearch::formatFromName(format, known)) {
            std::string names;
            for (const std::string& name : NorvSearch::formatNames()) {
                names += (names.empty() ? "" : ", ") + name;
            }
            throw py::value_error("unknown search format '" + format + "' (the formats: " + names + ")");
        }
        m_format = known;
    }
    if (!fields.empty()) {
        try {
            NorvSearch::SearchReader().setFields(fields);
        } catch (const std::invalid_argument& e) {
            throw py::value_error(e.what());
        }
    }
    for (const py::handle item : items) {
        Item source;
        if (PyUnicode_Check(item.ptr())) {
            source.path = bytesOf(item);
            source.name = source.path;
        } else {
            const py::object name = py::getattr(item, "name", py::none());
            source.name = PyUnicode_Check(name.ptr()) ? bytesOf(name) : "-";
            source.file = item.inc_ref().ptr();
        }
        m_items.push_back(std::move(source));
    }
}

SearchSource::~SearchSource() {
    for (const Item& item : m_items) {
        Py_XDECREF(item.file);
    }
}

void SearchSource::read(const std::function<void(NorvSearch::QueryResult&&)>& each) const {
    for (const Item& item : m_items) {
        NorvSearch::SearchReader reader(item.name);
        if (m_format) {
            reader.setFormat(*m_format);
        }
        if (!m_fields.empty()) {
            reader.setFields(m_fields);
        }
        if (item.file == nullptr) {
            std::ifstream in(item.path, std::ios::binary);
            if (!in) {
                throw OpenError(item.path, errno);
            }
            reader.read(in, each);
        } else {
            PyFileBuf buf(item.file);
            std::istream in(&buf);
            try {
                reader.read(in, each);
            } catch (const NorvSearch::SearchError&) {
                buf.rethrow();  // the file's own failure, not the truncation it caused
                throw;
            }
            buf.rethrow();
        }
    }
}

}  // namespace NorvPython
