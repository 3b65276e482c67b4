#ifndef NORVEXT_SEARCH_INTERNAL_WINDOW_H
#define NORVEXT_SEARCH_INTERNAL_WINDOW_H

// The input seen through a window of text that grows as a reader looks
// further and forgets what lies behind, keeping the count of lines for the
// places of faults. The XML, XML2 and JSON readers cut their input into one
// query's piece at a time with it.

#include "Input.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace NorvSearch {
namespace internal {

// The number of line feeds in [begin, end).
unsigned long countLines(const char* begin, const char* end);
// The first place of `needle` in `text`; npos when it has none.
std::size_t findIn(std::string_view text, std::string_view needle);

// The input in a window that begins at a line start and holds at least the
// piece being parsed. BLAST writes its XML one <Iteration> after another
// (its XML2 and JSON one report after another);
// the reader parses the header, each iteration and the trailer as documents
// of their own, so that memory follows one query, not the file, and the
// same memory serves every query.
class Window {
public:
    Window(Input& in, const std::string& source) : m_in(in), m_source(source) {}

    const std::string& text() const { return m_text; }
    std::size_t position() const { return m_position; }
    void moveTo(std::size_t position) { m_position = position; }

    // The first place at or after `from` where `needle` begins, reading more
    // of the input as needed; npos when the input ends first.
    std::size_t find(std::string_view needle, std::size_t from) {
        for (;;) {
            const std::size_t found = findIn(std::string_view(m_text).substr(std::min(from, m_text.size())), needle);
            if (found != std::string_view::npos) {
                return from + found;
            }
            from = std::max(from, m_text.size() >= needle.size() ? m_text.size() - needle.size() + 1 : 0);
            if (!fill()) {
                return std::string::npos;
            }
        }
    }
    // Whether at least `count` bytes follow `from`, reading more of the
    // input as needed: a tag is never compared against a window that ends
    // inside it.
    bool has(std::size_t from, std::size_t count) {
        while (m_text.size() < from + count) {
            if (!fill()) {
                return false;
            }
        }
        return true;
    }
    // The position of the first byte that is not white space, reading more
    // as needed; the text's size at the end of the input.
    std::size_t skipBlanks() {
        for (;;) {
            const std::size_t at = m_text.find_first_not_of(" \t\r\n", m_position);
            if (at != std::string::npos || !fill()) {
                m_position = at == std::string::npos ? m_text.size() : at;
                return m_position;
            }
        }
    }
    // Drops the text before the line that holds the position, once there is
    // enough of it to be worth moving what follows; within a line that long
    // (JSON written on one line), the text before the position, its width
    // kept for the columns of later faults.
    void forget() {
        if (m_position < kForgetAt) {
            return;
        }
        const std::size_t lineStart = m_text.rfind('\n', m_position - 1);
        std::size_t dropped = m_position;
        if (lineStart == std::string::npos) {
            m_column += dropped;
        } else {
            dropped = lineStart + 1;
            m_line += countLines(m_text.data(), m_text.data() + dropped);
            m_column = 0;
        }
        m_text.erase(0, dropped);
        m_position -= dropped;
    }
    // Calls `readDocument` once per document of the input, documents one
    // after another (old BLAST's XML of each query, per-query reports put
    // together), with the position at the document's first byte that is not
    // a blank and what came before forgotten. Throws SearchError for an
    // input of blanks only.
    template <class ReadDocument>
    void forEachDocument(ReadDocument readDocument) {
        if (skipBlanks() == m_text.size()) {
            fail(0, "empty input: no search output");
        }
        while (skipBlanks() < m_text.size()) {
            forget();
            readDocument();
        }
    }
    // Puts `text` in place of the `count` bytes at `at`.
    void replace(std::size_t at, std::size_t count, std::string_view text) { m_text.replace(at, count, text); }
    // The text from `begin` to `end` for a parser that works in place; the
    // window has no further use for it.
    char* reuse(std::size_t begin) { return &m_text[begin]; }

    // Throws SearchError naming the line and column of `at`.
    [[noreturn]] void fail(std::size_t at, const std::string& problem) const;
    // Appends the input's next block to the text; false at its end.
    bool fill();

private:

    static constexpr std::size_t kForgetAt = 1 << 17;

    Input& m_in;
    const std::string& m_source;
    std::string m_text;
    std::size_t m_position = 0;
    unsigned long m_line = 1;
    // The column of the text's first byte, from 0: not 0 when forget() cut a line.
    unsigned long m_column = 0;
};

}  // namespace internal
}  // namespace NorvSearch

#endif
