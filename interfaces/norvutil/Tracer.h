#ifndef NORVUTIL_TRACER_H
#define NORVUTIL_TRACER_H

#include <norvutil/Export.h>
#include <norvutil/Indent.h>

#include <iosfwd>
#include <string>

namespace Norv {

// Writes one object's block of dump text:
//
//   <2*level spaces>ClassName {
//   <2*(level+1) spaces>key: value
//   <2*level spaces>}
//
// The constructor writes the opening line, each operator() one key line, and
// the destructor the closing line. Strings are written byte for byte (zero
// bytes included); doubles as the shortest text that reads back to the same
// value. A null text prints as empty. Stream errors are the stream's own.
class NORVUTIL_API Tracer {
public:
    Tracer(std::ostream& os, Indent indent, const char* className);
    ~Tracer();
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    void operator()(const char* key, const std::string& value) const;
    void operator()(const char* key, const char* value) const;
    void operator()(const char* key, int value) const;
    void operator()(const char* key, unsigned int value) const;
    void operator()(const char* key, double value) const;

    // The level for the dump of an object nested inside this block.
    int nestedIndent() const { return m_indent.getLevel() + 1; }

private:
    void line(const char* key, const char* value, std::size_t length) const;

    std::ostream& m_os;
    Indent m_indent;
};

}  // namespace Norv

#endif
