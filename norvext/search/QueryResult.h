#ifndef NORVEXT_SEARCH_QUERYRESULT_H
#define NORVEXT_SEARCH_QUERYRESULT_H

#include <norvext/search/Export.h>

#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/SeqAlign.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace NorvSearch {

/// What a search engine reported for one query, in the form a search record
/// takes it. docs/search.md says what each value holds for each format.
struct NORVSEARCH_API QueryResult {
    /// The query's id (the first word of its definition line).
    std::string id;
    /// The rest of the query's definition line; may be empty.
    std::string description;
    /// The query's length in letters; 0 when the output does not say.
    unsigned int length = 0;
    /// One record per alignment (HSP), in the order of the output: subject
    /// id and source id, raw score, E-value, bit score, query and subject
    /// ranges, and the line segments of row 1 (query positions).
    std::vector<Norv::SeqAlign> alignments;
    /// One summary per subject, in the order of first appearance: its source
    /// id, numeric id, title and database name.
    std::vector<boost::shared_ptr<Norv::Summary>> subjects;
};

/// A search record of `result`: the query as a sequence (numeric id 0,
/// source id `id`, display name `description`, no letters), the range
/// {1, length} ({0, 0} when the length is 0), its hits grouped by source id
/// from the alignments and the subjects' summaries attached by source id.
/// No parameters are set. Throws only what allocation throws.
NORVSEARCH_API Norv::XBlast makeSearch(const QueryResult& result);

}  // namespace NorvSearch

#endif
