#include "FuzzSupport.h"

#include <norvext/query/DBTerm.h>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(
        data, size, create, [](const Term& term, Norv::AlignedBuf& buf) { term->write(buf); },
        [](const Term& term, std::ostream& os) { term->dump(os, 0); });
    return 0;
}
