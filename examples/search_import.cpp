// A real search's output into search records: the BLAST XML of a blastp run
// (two GST queries against fasta3's example protein library, saved in
// examples/data/blastp-gst.xml) read query by query; each query becomes a
// search record, and each hit reports its best alignment.
#include <norvext/NorvExt.h>
#include <norvext/search/NorvSearch.h>

#include <norvseq/Alignment.h>

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    const char* const path = argc > 1 ? argv[1] : NORVEXT_EXAMPLE_XML;
    std::ifstream file(path, std::ios::binary);
    NorvSearch::SearchReader reader("blastp-gst.xml");
    try {
        reader.read(file, [](NorvSearch::QueryResult&& result) {
            const Norv::XBlast search = NorvSearch::makeSearch(result);
            std::cout << "query " << result.id << " (" << result.length << " letters): " << search.getHitCount()
                      << " hits\n";
            for (const Norv::XBlastHit& hit : search) {
                const Norv::SeqAlign& best = hit.getBestMatch()->getSeqAlign();
                std::cout << "  " << hit.getSourceID() << "  score " << hit.getScore() << ", E-value "
                          << hit.getEValue() << ", bits " << hit.getBitScore() << ", query "
                          << best.getQueryRange().start << ".." << best.getQueryRange().end << ", subject "
                          << best.getSubjectRange().start << ".." << best.getSubjectRange().end << "  "
                          << hit.getSummary()->getTitle() << '\n';
            }
        });
    } catch (const NorvSearch::SearchError& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
