#include <norvext/query/internal/TermWrite.h>

#include <norvext/query/DBBooleanTerm.h>

#include <stdexcept>

namespace Norv {
namespace internal {

namespace {

// True while a term tree is being written on this thread.
thread_local bool t_writing = false;

void requireNoNullChild(const DBTerm& term) {
    const DBBooleanTerm* node = dynamic_cast<const DBBooleanTerm*>(&term);
    if (node == nullptr) {
        return;
    }
    for (const auto& child : node->getTerms()) {
        if (!child) {
            throw std::invalid_argument("DBBooleanTerm::write: null child term");
        }
        requireNoNullChild(*child);
    }
}

}  // namespace

TermTreeWrite::TermTreeWrite(const DBTerm& root) : m_outermost(!t_writing) {
    if (m_outermost) {
        requireNoNullChild(root);
        t_writing = true;
    }
}

TermTreeWrite::~TermTreeWrite() {
    if (m_outermost) {
        t_writing = false;
    }
}

}  // namespace internal
}  // namespace Norv
