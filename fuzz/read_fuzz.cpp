// One fuzz target per persisted class, each built from this file with
// NORV_FUZZ_CLASS naming its class (Norv::DBTerm: every term, through the
// term factory).
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::check<NORV_FUZZ_CLASS>(data, size);
    return 0;
}
