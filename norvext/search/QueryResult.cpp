#include <norvext/search/QueryResult.h>

#include <boost/make_shared.hpp>

namespace NorvSearch {

Norv::XBlast makeSearch(const QueryResult& result) {
    const auto query = boost::make_shared<Norv::Sequence>(0, result.id, result.description, std::string());
    const Norv::Sequence::Range range =
        result.length == 0 ? Norv::Sequence::Range() : Norv::Sequence::Range(1, result.length);
    Norv::XBlast search(query, range);
    search.assign(result.alignments, true);
    search.assign(result.subjects, true);
    return search;
}

}  // namespace NorvSearch
