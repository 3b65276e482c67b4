#ifndef NORVUTIL_TRACER_H
#define NORVUTIL_TRACER_H

#include <norvutil/Export.h>
#include <norvutil/Indent.h>

#include <iosfwd>
#include <string>

namespace Norv {

/// Writes one object's block of dump text:
///
/// ~~~{.unparsed}
///   <2*level spaces>ClassName {
///   <2*(level+1) spaces>key: value
///   <2*level spaces>}
/// ~~~
///
/// The constructor writes the opening line, each operator() one key line, and
/// the destructor the closing line. Strings are written byte for byte (zero
/// bytes included); doubles as the shortest text that reads back to the same
/// value. A null text prints as empty. Stream errors are the stream's own.
class NORVUTIL_API Tracer {
public:
    /// Writes the opening line at `indent`; a null class name prints as empty.
    Tracer(std::ostream& os, Indent indent, const char* className);
    /// Writes the closing line. A stream that throws is not let through here:
    /// its state records the failure.
    ~Tracer();
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    /** @{ */
    /// Writes one key line, one level deeper than the block; a null key prints
    /// as empty.
    void operator()(const char* key, const std::string& value) const;
    void operator()(const char* key, const char* value) const;
    void operator()(const char* key, int value) const;
    void operator()(const char* key, unsigned int value) const;
    void operator()(const char* key, double value) const;
    /** @} */

    /// The level for the dump of an object nested inside this block.
    int nestedIndent() const { return m_indent.getLevel() + 1; }

private:
    void line(const char* key, const char* value, std::size_t length) const;

    std::ostream& m_os;
    Indent m_indent;
};

}  // namespace Norv

#endif
