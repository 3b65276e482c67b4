#ifndef NORVEXT_FUZZ_SEARCHFUZZ_H
#define NORVEXT_FUZZ_SEARCHFUZZ_H

// The search-output readers: any bytes are either refused with a
// SearchError or read into queries whose ranges ascend and whose segments
// are ascending, apart and inside their alignment's query range; and the
// same bytes read in pieces of another size (the input's last byte picks it)
// give the same records, or the same error.
#include "FuzzSupport.h"

#include <norvext/search/NorvSearch.h>

#include <algorithm>
#include <sstream>

namespace NorvFuzz {

inline void checkAlignment(const NorvSearch::AlignmentResult& alignment) {
    const Norv::SeqAlign& record = alignment.record;
    Norv::SeqAlign::Segments segments;
    record.getLineSegs(segments, 1, false, false);
    const auto& range = record.getQueryRange();
    if (range.start > range.end || record.getSubjectRange().start > record.getSubjectRange().end) {
        fail("a range that runs down");
    }
    long last = static_cast<long>(range.start) - 1;
    for (const auto& segment : segments) {
        if (segment.first <= last || segment.second < segment.first ||
            static_cast<unsigned int>(segment.second) > range.end) {
            fail("a segment out of order or outside the query range");
        }
        last = segment.second;
    }
}

// The records of `text` read `readSize` bytes at a time, as JSON lines, or
// the reader's message.
inline std::string recordsOf(NorvSearch::SearchFormat format, const std::string& text, std::size_t readSize) {
    NorvSearch::SearchReader reader("fuzz");
    reader.setFormat(format);
    reader.setReadSize(readSize);
    std::istringstream in(text);
    std::string records;
    try {
        reader.read(in, [&records](NorvSearch::QueryResult&& result) {
            std::for_each(result.alignments.begin(), result.alignments.end(), checkAlignment);
            NorvSearch::queryToJson(result, records);
            records += '\n';
        });
    } catch (const NorvSearch::SearchError& error) {
        records += error.what();
    }
    return records;
}

inline void readSearch(NorvSearch::SearchFormat format, const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string whole = recordsOf(format, text, 1 << 16);
    const std::size_t pieces = size == 0 ? 1 : 1 + data[size - 1] % 97;
    if (recordsOf(format, text, pieces) != whole) {
        fail("the records depend on the size of the pieces read");
    }
}

}  // namespace NorvFuzz

#endif
