#include <norvext/search/SearchFormat.h>

#include <norvext/search/SearchProgram.h>

#include "internal/Fields.h"

#include <algorithm>
#include <iterator>

namespace NorvSearch {
namespace {

using internal::startsWith;

const char* const kNames[] = {"blast-xml", "blast-tab", "fasta-tab"};

}  // namespace

const char* formatName(SearchFormat format) { return kNames[static_cast<int>(format)]; }

std::vector<std::string> formatNames() { return std::vector<std::string>(std::begin(kNames), std::end(kNames)); }

bool formatFromName(std::string_view name, SearchFormat& format) {
    for (int i = 0; i < static_cast<int>(std::size(kNames)); ++i) {
        if (name == kNames[i]) {
            format = static_cast<SearchFormat>(i);
            return true;
        }
    }
    return false;
}

bool detectFormat(std::string_view head, SearchFormat& format) {
    const auto start = head.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) {
        return false;
    }
    head.remove_prefix(start);
    if (startsWith(head, "<?xml") || startsWith(head, "<BlastOutput") || startsWith(head, "<!DOCTYPE BlastOutput")) {
        format = SearchFormat::BlastXml;
        return true;
    }
    const std::string_view line = head.substr(0, head.find('\n'));
    if (line[0] == '#') {
        // The first comment names the program: "# BLASTP 2.12.0+",
        // "# fasta36 -m 8C ...", "# FASTA 36.3.8i".
        std::string_view text = internal::trimmed(line.substr(1));
        const SearchProgram* program = findProgram(text.substr(0, text.find(' ')));
        if (program == nullptr) {
            return false;
        }
        format = program->engine == SearchProgram::Engine::Blast ? SearchFormat::BlastTab : SearchFormat::FastaTab;
        return true;
    }
    // Lines without comments: BLAST's (or FASTA's, the same) 12 columns or
    // more, the second a subject id.
    if (std::count(line.begin(), line.end(), '\t') >= 3) {
        format = SearchFormat::BlastTab;
        return true;
    }
    return false;
}

}  // namespace NorvSearch
