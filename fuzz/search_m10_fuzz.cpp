// The FASTA36 -m 10 reader (SearchFuzz.h).
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::readSearch(NorvSearch::SearchFormat::FastaM10, data, size);
    return 0;
}
