// The BLAST JSON reader (SearchFuzz.h).
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::readSearch(NorvSearch::SearchFormat::BlastJson, data, size);
    return 0;
}
