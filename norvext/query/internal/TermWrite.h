#ifndef NORVEXT_QUERY_INTERNAL_TERMWRITE_H
#define NORVEXT_QUERY_INTERNAL_TERMWRITE_H

// A term tree is written in prefix order, so a null child found half-way
// would leave a torn tree in the buffer. The outermost write of a tree checks
// the whole tree first; the writes nested inside it skip the check, which
// keeps writing linear in the size of the tree.

namespace Norv {

class DBTerm;

namespace internal {

// Lives for the duration of one term write. Throws std::invalid_argument
// "DBBooleanTerm::write: null child term" when it is the outermost one on
// this thread and a boolean term in the tree under `root` holds a null child.
class TermTreeWrite {
public:
    explicit TermTreeWrite(const DBTerm& root);
    ~TermTreeWrite();
    TermTreeWrite(const TermTreeWrite&) = delete;
    TermTreeWrite& operator=(const TermTreeWrite&) = delete;

private:
    bool m_outermost;
};

}  // namespace internal
}  // namespace Norv

#endif
