#include <norvext/search/QueryResult.h>

#include <boost/make_shared.hpp>

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace NorvSearch {
namespace {

// The alignments of each hit, as places in result.alignments: hits in
// order of first appearance, by the key of each record that `keyOf` gives.
template <class Key, class KeyOf>
std::vector<std::vector<std::size_t>> groupAlignments(const QueryResult& result, KeyOf keyOf) {
    std::unordered_map<Key, std::size_t> hitOf;
    std::vector<std::vector<std::size_t>> hits;
    for (std::size_t i = 0; i < result.alignments.size(); ++i) {
        const auto found = hitOf.emplace(keyOf(result.alignments[i].record), hits.size());
        if (found.second) {
            hits.emplace_back();
        }
        hits[found.first->second].push_back(i);
    }
    return hits;
}

}  // namespace

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

std::vector<std::vector<std::size_t>> hitAlignments(const QueryResult& result) {
    if (groupsBySourceID(result)) {
        return groupAlignments<std::string_view>(
            result, [](const Norv::SeqAlign& record) { return std::string_view(record.getSubjectSourceID()); });
    }
    return groupAlignments<unsigned int>(result, [](const Norv::SeqAlign& record) { return record.getSubjectID(); });
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
