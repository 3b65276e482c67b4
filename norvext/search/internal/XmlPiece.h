#ifndef NORVEXT_SEARCH_INTERNAL_XMLPIECE_H
#define NORVEXT_SEARCH_INTERNAL_XMLPIECE_H

// A piece of a Window parsed by pugixml as a document of its own: how the
// XML and XML2 readers read one query at a time.

#include "Window.h"

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// Character and entity references, CDATA, the doctype (to refuse entity
// declarations); an element's text kept in the element (half the nodes); line
// ends stay as they are, since values are trimmed.
constexpr unsigned kParseOptions =
    pugi::parse_escapes | pugi::parse_cdata | pugi::parse_doctype | pugi::parse_embed_pcdata;


// One piece of the window parsed as a document: `prefix` and `suffix` close
// what the piece leaves open (the header's elements, the trailer's). Parsing
// is in place: a piece that needs neither is parsed where it lies in the
// window, others in `scratch`, whose memory serves every piece.
class Piece {
public:
    Piece(Window& window, std::size_t begin, std::size_t end, std::string_view prefix, std::string_view suffix,
          std::string& scratch, pugi::xml_document& document)
        : m_window(window), m_begin(begin), m_end(end), m_prefix(prefix.size()), m_document(document) {
        char* text = window.reuse(begin);
        std::size_t size = end - begin;
        if (!prefix.empty() || !suffix.empty()) {
            scratch.assign(prefix);
            scratch.append(window.text(), begin, end - begin);
            scratch.append(suffix);
            text = &scratch[0];
            size = scratch.size();
        }
        const pugi::xml_parse_result result =
            document.load_buffer_inplace(text, size, kParseOptions);
        if (!result) {
            fail(static_cast<std::size_t>(result.offset), result.description());
        }
    }

    const pugi::xml_document& nodes() const { return m_document; }

    // Throws SearchError unless the top level is the declaration, a doctype
    // without entities, one element named `root`, and nothing else.
    void checkTop(const char* root) const;

    [[noreturn]] void fail(std::size_t offset, const std::string& problem) const {
        // A fault in the closing text is one of the piece's end.
        const std::size_t inPiece = offset < m_prefix ? 0 : std::min(offset - m_prefix, m_end - m_begin);
        m_window.fail(m_begin + inPiece, problem);
    }
    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& problem) const {
        const std::ptrdiff_t offset = node.offset_debug();
        // The offset is that of the name; the tag opens one byte before it.
        fail(offset > 0 ? static_cast<std::size_t>(offset - 1) : 0, problem);
    }

private:
    const Window& m_window;
    std::size_t m_begin;
    std::size_t m_end;
    std::size_t m_prefix;
    pugi::xml_document& m_document;
};


}  // namespace internal
}  // namespace NorvSearch

#endif
