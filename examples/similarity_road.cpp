// A similarity search from start to finish, the library's side of it: a
// search record for a stretch of a protein query, BLASTP settings with the
// searched letters, raw alignment records for three subjects grouped into
// hits, their summaries and sequences attached, then the best score of each
// hit, the line set to draw and the whole record.
#include <norvext/NorvExt.h>

#include <norvseq/Alignment.h>

#include <boost/make_shared.hpp>

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Doubles as the shortest text that reads back, the same on every platform.
std::string number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

Norv::SeqAlign record(unsigned int subject, const char* sourceID, int score, double eValue, double bitScore,
                      Norv::Sequence::Range query, Norv::Sequence::Range hit, Norv::SeqAlign::Segments segments) {
    Norv::SeqAlign r;
    r.setSubjectID(subject);
    r.setSubjectSourceID(sourceID);
    r.setScore(score);
    r.setEValue(eValue);
    r.setBitScore(bitScore);
    r.setQueryRange(query);
    r.setSubjectRange(hit);
    r.setLineSegs(1, std::move(segments));
    return r;
}

}  // namespace

int main(int /*argc*/, char** /*argv*/) {
    typedef Norv::Sequence::Range Range;

    // The caller searches letters 11 to 50 of its query.
    const auto query = boost::make_shared<Norv::Sequence>(
        1, "lcl|demo", "demo_query", "MALWMRLLPLLALLALWGPDPAAAFVNQHLCGSHLVEALYLVCGERGFFYTPKTRR");
    Norv::XBlast search(query, Range(11, 50));

    auto params = boost::make_shared<Norv::XBlastParams>();
    params->setDefaultsBLASTP();
    params->setName("demo_search");
    search.setParams(params);
    search.setParamsData();
    std::cout << "searched letters: " << std::string(params->getData().begin(), params->getData().end()) << '\n';

    // The search, run elsewhere, reports five alignments with three subjects,
    // the records of one subject not side by side.
    const std::vector<Norv::SeqAlign> records = {
        record(101, "sp|Q00101", 120, 2e-30, 51.2, Range(11, 40), Range(5, 34), {{11, 25}, {27, 40}}),
        record(205, "sp|Q00205", 88, 1e-12, 38.5, Range(15, 50), Range(40, 75), {{15, 50}}),
        record(101, "sp|Q00101", 140, 5e-35, 58.9, Range(20, 50), Range(60, 90), {{20, 50}}),
        record(317, "sp|Q00317", 60, 0.004, 27.7, Range(30, 45), Range(12, 27), {{30, 37}, {39, 45}}),
        record(205, "sp|Q00205", 88, 3e-14, 40.1, Range(11, 30), Range(3, 22), {{11, 30}}),
    };
    search.assign(records, false);
    std::cout << "hits: " << search.getHitCount() << '\n';

    // Their summaries come from the database by id, their sequences by source id.
    std::vector<boost::shared_ptr<Norv::Summary>> summaries;
    const char* const titles[] = {"Insulin-like protein A", "Insulin-like protein B", "Relaxin-like protein"};
    const unsigned int ids[] = {101, 205, 317};
    for (int i = 0; i < 3; ++i) {
        auto summary = boost::make_shared<Norv::Summary>(1, ids[i], titles[i], nullptr, nullptr);
        summary->setSourceDB("sp");
        summary->setSourceID("sp|Q00" + std::to_string(ids[i]));
        summaries.push_back(summary);
    }
    search.assign(summaries, false);
    for (unsigned int id : ids) {
        const std::string sourceID = "sp|Q00" + std::to_string(id);
        const auto subject = boost::make_shared<Norv::Sequence>(id, sourceID, "subject_" + std::to_string(id),
                                                                std::string(100, 'A'));
        std::cout << "subject " << sourceID << (search.addSubject(subject, true) ? " attached" : " unmatched") << '\n';
    }

    for (const Norv::XBlastHit& hit : search) {
        const Range covered = hit.getSubjectRange();
        std::cout << hit.getSourceID() << " \"" << hit.getSummary()->getTitle() << "\": " << hit.size()
                  << " alignment(s), best score " << hit.getScore() << ", E-value " << number(hit.getEValue())
                  << ", bit score " << number(hit.getBitScore()) << ", subject " << covered.start << ".."
                  << covered.end << '\n';
    }

    // Positions from the start of the searched stretch.
    Norv::XBlast::LineSet lines;
    search.getLineSet(lines, false);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        std::cout << "line set " << search[static_cast<unsigned int>(row)].getID() << ':';
        for (const auto& segments : lines[row]) {
            std::cout << " [";
            for (const auto& segment : segments) {
                std::cout << ' ' << segment.first << ".." << segment.second;
            }
            std::cout << " ]";
        }
        std::cout << '\n';
    }

    search.dump(std::cout, 0);
    return 0;
}
