#ifndef NORVEXT_SEARCH_INTERNAL_INPUT_H
#define NORVEXT_SEARCH_INTERNAL_INPUT_H

// A stream read in blocks, by block or by line, with a look at its
// beginning before anything is consumed (to recognise the format). A stream
// that starts as gzip data is read decompressed, member after member, as
// `gzip -c a >> b` makes them.

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {
namespace internal {

class Inflater;

class Input {
public:
    static constexpr std::size_t kDefaultReadSize = 1 << 16;

    // `source` names the stream in errors; at most `readSize` bytes (at least
    // 1) are read from it, or come out of the decompressor, at a time, so
    // that the readers meet every block boundary the tests ask for.
    Input(std::istream& in, const std::string& source, std::size_t readSize = kDefaultReadSize);
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Up to `count` bytes from the current place, without consuming them.
    std::string_view peek(std::size_t count);
    // The bytes buffered and not yet consumed, filling the buffer first when
    // it is empty; empty at the end of the stream. consume() takes them.
    std::string_view block();
    void consume(std::size_t count) { m_begin += count; }
    // The next line without its line end (LF or CR LF); false at the end of
    // the stream. lineEnded() tells whether that line had its LF. The line
    // is seen where it lies in the buffer (gathered first when it spans two
    // blocks), valid until the next read.
    bool readLine(std::string_view& line);
    bool lineEnded() const { return m_lineEnded; }
    // Throws SearchError when the stream failed (rather than ended).
    void checkStream() const;

private:
    // Appends the stream's next block to the buffer; false at its end.
    // Throws SearchError for gzip data that is corrupt or ends early.
    bool fill();
    // Up to m_readSize bytes of the stream itself into `to`.
    std::size_t readRaw(char* to);
    // Looks at the first bytes: gzip or not.
    void start();

    std::istream& m_in;
    const std::string& m_source;
    const std::size_t m_readSize;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_lineEnded = true;
    // A line that spans blocks, gathered.
    std::string m_joined;
    bool m_started = false;
    std::unique_ptr<Inflater> m_inflater;
};

}  // namespace internal
}  // namespace NorvSearch

#endif
