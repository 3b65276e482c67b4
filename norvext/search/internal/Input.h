#ifndef NORVEXT_SEARCH_INTERNAL_INPUT_H
#define NORVEXT_SEARCH_INTERNAL_INPUT_H

// A stream read in large blocks, by block or by line, with a look at its
// beginning before anything is consumed (to recognise the format).

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

class Input {
public:
    // `source` names the stream in errors.
    Input(std::istream& in, const std::string& source);

    // Up to `count` bytes from the current place, without consuming them.
    std::string_view peek(std::size_t count);
    // The bytes buffered and not yet consumed, filling the buffer first when
    // it is empty; empty at the end of the stream. consume() takes them.
    std::string_view block();
    void consume(std::size_t count) { m_begin += count; }
    // Everything from the current place to the end of the stream.
    std::string readAll();
    // The next line without its line end (LF or CR LF); false at the end of
    // the stream. lineEnded() tells whether that line had its LF.
    bool readLine(std::string& line);
    bool lineEnded() const { return m_lineEnded; }
    // Throws SearchError when the stream failed (rather than ended).
    void checkStream() const;

private:
    // Appends the stream's next block to the buffer; false at its end.
    bool fill();

    std::istream& m_in;
    const std::string& m_source;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_lineEnded = true;
};

}  // namespace internal
}  // namespace NorvSearch

#endif
