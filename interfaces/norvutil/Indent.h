#ifndef NORVUTIL_INDENT_H
#define NORVUTIL_INDENT_H

#include <norvutil/Export.h>

#include <iosfwd>

namespace Norv {

/// An indentation level of the dump text: two spaces per level. Negative
/// levels print as level 0.
class NORVUTIL_API Indent {
public:
    /// The level as given, negative ones included.
    explicit Indent(int level) : m_level(level) {}

    /// The level as given.
    int getLevel() const { return m_level; }

    /// Writes the level's leading spaces.
    void write(std::ostream& os) const;

private:
    int m_level;
};

}  // namespace Norv

#endif
