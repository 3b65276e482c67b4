// The BLAST and FASTA tabular reader (SearchFuzz.h): the first byte picks the
// dialect.
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    NorvFuzz::readSearch(data[0] % 2 == 0 ? NorvSearch::SearchFormat::BlastTab : NorvSearch::SearchFormat::FastaTab,
                         data + 1, size - 1);
    return 0;
}
