#include "FuzzSupport.h"

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBStringTerm.h>
#include <norvext/query/DBTerm.h>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

namespace {

using Term = boost::shared_ptr<Norv::DBTerm>;

Term create(Norv::AlignedBuf& buf) {
    Term term = Norv::DBTerm::create(buf);
    if (!term) {
        NorvFuzz::fail("the term factory returned a null term");
    }
    return term;
}

// The same bytes as the body of a boolean term that already has children:
// read() appends, so its children stay in front whatever happens, and an
// operator code that names nothing changes nothing at all.
void checkBooleanRead(const std::uint8_t* data, std::size_t size) {
    const Term first = boost::make_shared<Norv::DBStringTerm>(1, "a", Norv::DBTerm::EQ);
    const Term second = boost::make_shared<Norv::DBStringTerm>(2, "b", Norv::DBTerm::LIKE);
    Norv::DBBooleanTerm term(first, Norv::DBBooleanTerm::OR, second);
    Norv::AlignedBuf input = NorvFuzz::bufferOf(data, size);
    NorvFuzz::readsOrFailsCleanly([&] { term.read(input); });
    const auto& children = term.getTerms();
    if (children.size() < 2 || children[0] != first || children[1] != second) {
        NorvFuzz::fail("a boolean term's read lost the children it held");
    }
    const bool knownOp = size >= 4 && data[1] == 0 && data[2] == 0 && data[3] == 0 && data[0] >= 1 && data[0] <= 3;
    if (!knownOp && (term.getOp() != Norv::DBBooleanTerm::OR || children.size() != 2)) {
        NorvFuzz::fail("a boolean term changed although its operator code was refused");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(
        data, size, create, [](const Term& term, Norv::AlignedBuf& buf) { term->write(buf); },
        [](const Term& term, std::ostream& os) { term->dump(os, 0); });
    checkBooleanRead(data, size);
    return 0;
}
