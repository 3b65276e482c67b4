// The BLAST, FASTA and MMseqs2 tabular reader (SearchFuzz.h): the first byte
// picks the dialect (even BLAST, 4n+1 FASTA, 4n+3 MMseqs2).
#include "SearchFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    using NorvSearch::SearchFormat;
    NorvFuzz::readSearch(data[0] % 2 == 0   ? SearchFormat::BlastTab
                         : data[0] % 4 == 1 ? SearchFormat::FastaTab
                                            : SearchFormat::MMseqsTab,
                         data + 1, size - 1);
    return 0;
}
