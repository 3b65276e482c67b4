#include "FuzzSupport.h"

#include <norvext/query/DBQuery.h>
#include <norvext/query/DBTerm.h>

namespace {

// DBQuery has no constructor from a buffer.
Norv::DBQuery readIntoDefault(Norv::AlignedBuf& buf) {
    Norv::DBQuery query;
    query.read(buf);
    if (!query.getTerm()) {
        NorvFuzz::fail("a query read without a term");
    }
    return query;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(
        data, size, readIntoDefault, [](const Norv::DBQuery& query, Norv::AlignedBuf& buf) { query.write(buf); },
        [](const Norv::DBQuery& query, std::ostream& os) { query.dump(os, 0); });
    return 0;
}
