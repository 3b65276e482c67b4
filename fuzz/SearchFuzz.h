#ifndef NORVEXT_FUZZ_SEARCHFUZZ_H
#define NORVEXT_FUZZ_SEARCHFUZZ_H

// The search-output readers: any bytes are either refused with a
// SearchError or read into queries whose segments are ascending, apart and
// inside their alignment's query range, and whose search records print as
// JSON.
#include "FuzzSupport.h"

#include <norvext/json/SearchJson.h>
#include <norvext/search/NorvSearch.h>

#include <algorithm>
#include <sstream>

namespace NorvFuzz {

inline void checkAlignment(const Norv::SeqAlign& record) {
    Norv::SeqAlign::Segments segments;
    record.getLineSegs(segments, 1, false, false);
    const auto& range = record.getQueryRange();
    long last = static_cast<long>(std::min(range.start, range.end)) - 1;
    for (const auto& segment : segments) {
        if (segment.first <= last || segment.second < segment.first ||
            static_cast<unsigned int>(segment.second) > std::max(range.start, range.end)) {
            fail("a segment out of order or outside the query range");
        }
        last = segment.second;
    }
}

inline void readSearch(NorvSearch::SearchFormat format, const std::uint8_t* data, std::size_t size) {
    NorvSearch::SearchReader reader("fuzz");
    reader.setFormat(format);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        reader.read(in, [](NorvSearch::QueryResult&& result) {
            std::for_each(result.alignments.begin(), result.alignments.end(), checkAlignment);
            NorvJson::searchToJson(NorvSearch::makeSearch(result));
        });
    } catch (const NorvSearch::SearchError&) {
    }
}

}  // namespace NorvFuzz

#endif
