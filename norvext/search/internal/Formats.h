#ifndef NORVEXT_SEARCH_INTERNAL_FORMATS_H
#define NORVEXT_SEARCH_INTERNAL_FORMATS_H

// The one table of the formats the reader takes: each format's name, the
// signs that recognise it and the reader that reads it. A new format is a
// row here, its reader, and an enumerator of SearchFormat.

#include "Input.h"

#include <norvext/search/QueryResult.h>
#include <norvext/search/SearchFormat.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

using EachQuery = std::function<void(QueryResult&&)>;

// What a reader is given besides its input.
struct ReadContext {
    // Names the input in errors.
    const std::string& source;
    // Column names for tabular lines (SearchReader::setFields()).
    const std::vector<std::string>& fields;
};

struct FormatEntry {
    SearchFormat format;
    // formatName(): the name users give on the command line.
    const char* name;
    // Positive signs of the format in the first bytes of an output, blanks
    // before them passed over (`head` is never empty). Recognition takes the
    // first row whose signs match.
    bool (*detect)(std::string_view head);
    // Calls `each` with every query in file order; throws SearchError.
    void (*read)(Input& in, const ReadContext& context, const EachQuery& each);
    // Whether an output of blanks only is this format's output of a search
    // without hits (tabular) rather than a truncated file (XML).
    bool emptyHasNoQuery;
};

// Every row, in the order of SearchFormat.
const std::vector<FormatEntry>& formatTable();

}  // namespace internal
}  // namespace NorvSearch

#endif
