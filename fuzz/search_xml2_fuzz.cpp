// The BLAST XML2 reader (SearchFuzz.h).
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::readSearch(NorvSearch::SearchFormat::BlastXml2, data, size);
    return 0;
}
