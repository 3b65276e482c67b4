#include <norvext/search/SearchFormat.h>

#include "internal/Formats.h"
#include "internal/Fields.h"

namespace NorvSearch {

const char* formatName(SearchFormat format) { return internal::formatTable()[static_cast<int>(format)].name; }

std::vector<std::string> formatNames() {
    std::vector<std::string> names;
    for (const internal::FormatEntry& entry : internal::formatTable()) {
        names.emplace_back(entry.name);
    }
    return names;
}

bool formatFromName(std::string_view name, SearchFormat& format) {
    for (const internal::FormatEntry& entry : internal::formatTable()) {
        if (name == entry.name) {
            format = entry.format;
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
    for (const internal::FormatEntry& entry : internal::formatTable()) {
        if (entry.detect(head)) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

}  // namespace NorvSearch
