// The BLAST XML reader (SearchFuzz.h).
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::readSearch(NorvSearch::SearchFormat::BlastXml, data, size);
    return 0;
}
