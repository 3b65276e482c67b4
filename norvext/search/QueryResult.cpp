#include <norvext/search/QueryResult.h>

#include <boost/make_shared.hpp>

#include <unordered_set>

namespace NorvSearch {

bool groupsBySourceID(const QueryResult& result) {
    std::unordered_set<std::string> sourceIDs;
    std::unordered_set<unsigned int> numbers;
    bool shared = false;
    for (const auto& subject : result.subjects) {
        shared = !sourceIDs.insert(subject->getSourceID()).second || shared;
        if (subject->getID() == 0 || !numbers.insert(subject->getID()).second) {
            return true;  // the numbers tell the subjects apart no better
        }
    }
    return !shared;
}

Norv::XBlast makeSearch(const QueryResult& result) {
    const auto query = boost::make_shared<Norv::Sequence>(0, result.id, result.description, std::string());
    const Norv::Sequence::Range range =
        result.length == 0 ? Norv::Sequence::Range() : Norv::Sequence::Range(1, result.length);
    Norv::XBlast search(query, range);
    std::vector<Norv::SeqAlign> records;
    records.reserve(result.alignments.size());
    for (const AlignmentResult& alignment : result.alignments) {
        records.push_back(alignment.record);
    }
    const bool bySourceID = groupsBySourceID(result);
    search.assign(records, bySourceID);
    search.assign(result.subjects, bySourceID);
    return search;
}

}  // namespace NorvSearch
