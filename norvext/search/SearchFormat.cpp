#include <norvext/search/SearchFormat.h>

#include "internal/Fields.h"

namespace NorvSearch {
namespace {

using internal::startsWith;

const char* const kNames[] = {"blast-xml", "blast-tab", "fasta-tab"};

}  // namespace

const char* formatName(SearchFormat format) { return kNames[static_cast<int>(format)]; }

bool formatFromName(std::string_view name, SearchFormat& format) {
    for (int i = 0; i < 3; ++i) {
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
    if (head[0] == '<') {
        format = SearchFormat::BlastXml;
        return true;
    }
    const std::string_view line = head.substr(0, head.find('\n'));
    if (line[0] == '#') {
        std::string_view program = line.substr(1);
        program.remove_prefix(std::min(program.find_first_not_of(' '), program.size()));
        const bool blast = startsWith(program, "BLAST") || startsWith(program, "TBLAST") ||
                           startsWith(program, "PSIBLAST") || startsWith(program, "RPSBLAST") ||
                           startsWith(program, "DELTABLAST");
        format = blast ? SearchFormat::BlastTab : SearchFormat::FastaTab;
        return true;
    }
    if (line.find('\t') != std::string_view::npos) {
        format = SearchFormat::BlastTab;
        return true;
    }
    return false;
}

}  // namespace NorvSearch
