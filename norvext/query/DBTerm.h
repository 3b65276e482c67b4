#ifndef NORVEXT_QUERY_DBTERM_H
#define NORVEXT_QUERY_DBTERM_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>

namespace Norv {

class AlignedBuf;

/// Root of every term of a database query's condition. It holds no data.
/// Terms are shared through boost::shared_ptr<DBTerm>; a tree of them is
/// persisted in prefix order, each term behind its type code (1 DBStringTerm,
/// 2 DBRangeTerm, 3 DBBooleanTerm), and rebuilt by create().
class NORVEXT_API DBTerm : public Common::VisitableBase {
public:
    /// The comparison of a string term: equal, not equal, less than, greater
    /// than, less or equal, greater or equal, LIKE; persisted as its value.
    enum Compare { EQ = 0, NEQ = 1, LT = 2, GT = 3, LE = 4, GE = 5, LIKE = 6 };

    /// Deepest nesting that create() rebuilds. A term's depth counts the terms
    /// from the root down to it, the root included: a lone leaf has depth 1.
    /// The bound keeps an untrusted buffer from exhausting the stack. Defined
    /// in the library (256) and exported as data, so that every module reads
    /// the one value; an in-class constant would not cross a DLL boundary.
    static const int s_maxDepth;

    /// Holds nothing.
    DBTerm() = default;
    /// Copies nothing.
    DBTerm(const DBTerm&) = default;
    /// Assigns nothing.
    DBTerm& operator=(const DBTerm&) = default;
    ~DBTerm() override;

    /// Writes nothing: a term without data has nothing to show.
    virtual void dump(std::ostream& os, int level) const;
    /// Appends the term's type code, then its body.
    virtual void write(AlignedBuf& buf) const = 0;
    /// Reads the body only: the type code in front of it has been consumed by
    /// create(), which chose the class from it.
    virtual void read(AlignedBuf& buf) = 0;

    /// "EQ", "NEQ", "LT", "GT", "LE", "GE" or "LIKE"; a value outside the
    /// enumeration gives the empty text. The text lives as long as the
    /// program.
    static const char* compName(Compare compare);
    /// The comparison named by `name`, judged by its first two bytes only (N
    /// alone decides NEQ; G and L need the second byte). Never fails: a text
    /// that names no comparison, or is shorter than two bytes, gives EQ.
    static Compare compValue(const std::string& name);

    /// The term factory: reads a type code, creates a default term of that
    /// class (a boolean term with AND and no children for 3) and lets it read
    /// its body, recursively for the children of boolean terms. Never returns
    /// null. Throws std::runtime_error "TermFactory::create: Invalid term
    /// type: <code>" for an unknown code, and "TermFactory::create: Term
    /// nesting deeper than 256 levels" before rebuilding a term deeper than
    /// s_maxDepth; whatever the term's read() throws passes through. After a
    /// failure the buffer has been consumed up to the failing item.
    static boost::shared_ptr<DBTerm> create(AlignedBuf& buf);
};

}  // namespace Norv

#endif
