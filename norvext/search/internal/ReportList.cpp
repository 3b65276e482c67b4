#include "ReportList.h"

#include "BlastJsonParser.h"
#include "BlastXml2Parser.h"
#include "Fields.h"
#include "Window.h"

#include <pugixml.hpp>
#include <simdjson.h>

#include <cstring>

namespace NorvSearch {
namespace internal {
namespace {

const std::string_view kJsonList = "\"BlastJSON\"";

// Whether `name` names a file in the list's own folder, and nothing else.
bool isBeside(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

void checkName(const Window& window, std::size_t at, const std::string& name) {
    if (!isBeside(name)) {
        window.fail(at, "the list names '" + name + "': only files beside the list are read");
    }
}

std::vector<std::string> jsonNames(Window& window) {
    std::string padded = window.text();
    const std::size_t size = padded.size();
    padded.append(simdjson::SIMDJSON_PADDING, ' ');
    simdjson::ondemand::parser parser;
    simdjson::ondemand::document document;
    std::vector<std::string> names;
    const char* at = padded.data();
    try {
        document = parser.iterate(padded.data(), size, padded.size());
        for (simdjson::ondemand::value entry : document["BlastJSON"].get_array()) {
            at = entry.raw_json_token().data();
            simdjson::ondemand::value file = entry.get_object()["File"];
            at = file.raw_json_token().data();
            names.emplace_back(std::string_view(file.get_string()));
            checkName(window, static_cast<std::size_t>(at - padded.data()), names.back());
        }
    } catch (const simdjson::simdjson_error& problem) {
        window.fail(static_cast<std::size_t>(at - padded.data()),
                    std::string("not a list of files: ") + simdjson::error_message(problem.error()));
    }
    return names;
}

std::vector<std::string> xmlNames(Window& window) {
    std::string text = window.text();
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_buffer_inplace(&text[0], text.size(), pugi::parse_default);
    if (!result) {
        window.fail(static_cast<std::size_t>(result.offset), result.description());
    }
    std::vector<std::string> names;
    for (const pugi::xml_node& node : document.child("BlastXML2").children()) {
        const std::size_t at = static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug() - 1, 0));
        if (node.type() != pugi::node_element || std::strcmp(node.name(), "xi:include") != 0) {
            window.fail(at, "<xi:include> belongs here");
        }
        names.emplace_back(node.attribute("href").value());
        checkName(window, at, names.back());
    }
    return names;
}

}  // namespace

bool isReportList(std::string_view head) {
    if (startsWith(head, "{")) {
        return startsWith(trimmed(head.substr(1)), kJsonList);
    }
    if (!isBlastXml2(head)) {
        return false;
    }
    const std::size_t wrapper = head.find("<BlastXML2");
    const std::size_t tagEnd = wrapper == std::string_view::npos ? wrapper : head.find('>', wrapper);
    return tagEnd != std::string_view::npos && startsWith(trimmed(head.substr(tagEnd + 1)), "<xi:include");
}

std::vector<std::string> listedFiles(Input& in, const std::string& source) {
    Window window(in, source);
    while (window.fill()) {
    }
    return startsWith(trimmed(window.text()), "{") ? jsonNames(window) : xmlNames(window);
}

}  // namespace internal
}  // namespace NorvSearch
