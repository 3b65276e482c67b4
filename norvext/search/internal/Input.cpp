#include "Input.h"

#include <norvext/search/SearchError.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace NorvSearch {
namespace internal {

// zlib's inflate over the raw bytes of the stream: gzip members one after
// the other, each checked against its CRC.
class Inflater {
public:
    Inflater(const std::string& source, std::size_t readSize) : m_source(source), m_raw(readSize) {
        std::memset(&m_stream, 0, sizeof m_stream);
        // 15 + 16: a gzip wrapper with the largest window.
        if (inflateInit2(&m_stream, 15 + 16) != Z_OK) {
            throw SearchError(m_source, 0, 0, "cannot start gzip decompression");
        }
    }
    ~Inflater() { inflateEnd(&m_stream); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Bytes already read from the stream, to be decompressed first.
    void take(const char* bytes, std::size_t count) {
        m_pending.assign(bytes, bytes + count);
        m_stream.next_in = reinterpret_cast<Bytef*>(m_pending.data());
        m_stream.avail_in = static_cast<uInt>(m_pending.size());
    }

    // Up to `room` decompressed bytes into `to`; 0 at the end of the data.
    // `readRaw` gives the stream's next raw bytes into a buffer.
    template <class ReadRaw>
    std::size_t inflateInto(char* to, std::size_t room, ReadRaw readRaw) {
        m_stream.next_out = reinterpret_cast<Bytef*>(to);
        m_stream.avail_out = static_cast<uInt>(room);
        while (m_stream.avail_out == room && m_corrupt.empty()) {
            if (m_stream.avail_in == 0 && !m_rawEnded) {
                const std::size_t got = readRaw(m_raw.data());
                m_rawEnded = got == 0;
                m_stream.next_in = reinterpret_cast<Bytef*>(m_raw.data());
                m_stream.avail_in = static_cast<uInt>(got);
            }
            if (!m_inMember) {
                if (m_stream.avail_in == 0) {
                    return 0;  // the data ends where a member does
                }
                // Another member follows the one that ended.
                inflateReset(&m_stream);
                m_inMember = true;
            }
            // Without more input inflate may still give what it holds back.
            const int status = inflate(&m_stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END) {
                m_inMember = false;
            } else if (status == Z_BUF_ERROR && m_rawEnded && m_stream.avail_out == room) {
                throw SearchError(m_source, 0, 0, "the gzip data ends early: the file is truncated");
            } else if (status != Z_OK && status != Z_BUF_ERROR) {
                m_corrupt = std::string("the gzip data is corrupt: ") +
                            (m_stream.msg != nullptr ? m_stream.msg : "inflate failed");
            }
        }
        // What came out before corrupt data is passed on first, so that the
        // readers see the same text whatever the size of the pieces read.
        if (!m_corrupt.empty() && m_stream.avail_out == room) {
            throw SearchError(m_source, 0, 0, m_corrupt);
        }
        return room - m_stream.avail_out;
    }

private:
    const std::string& m_source;
    z_stream m_stream;
    std::vector<char> m_raw;
    std::vector<char> m_pending;
    bool m_inMember = true;
    bool m_rawEnded = false;
    // Why the data cannot be read on, once it cannot.
    std::string m_corrupt;
};

Input::Input(std::istream& in, const std::string& source, std::size_t readSize)
    : m_in(in), m_source(source), m_readSize(std::max<std::size_t>(readSize, 1)), m_buffer(m_readSize) {}

Input::~Input() = default;

std::size_t Input::readRaw(char* to) {
    if (!m_in) {
        return 0;
    }
    m_in.read(to, static_cast<std::streamsize>(m_readSize));
    return static_cast<std::size_t>(m_in.gcount());
}

void Input::start() {
    m_started = true;
    // Two bytes tell gzip (1f 8b) from text; the stream may give one at a time.
    while (m_end < 2) {
        if (m_buffer.size() - m_end < m_readSize) {
            m_buffer.resize(m_end + m_readSize);
        }
        const std::size_t got = readRaw(m_buffer.data() + m_end);
        if (got == 0) {
            break;
        }
        m_end += got;
    }
    if (m_end >= 2 && static_cast<unsigned char>(m_buffer[0]) == 0x1f &&
        static_cast<unsigned char>(m_buffer[1]) == 0x8b) {
        m_inflater = std::make_unique<Inflater>(m_source, m_readSize);
        m_inflater->take(m_buffer.data(), m_end);
        m_end = 0;
    }
}

bool Input::fill() {
    if (m_begin == m_end) {
        m_begin = m_end = 0;
    }
    if (!m_started) {
        const std::size_t before = m_end;
        start();
        if (m_end > before) {
            return true;
        }
    }
    if (m_buffer.size() - m_end < m_readSize) {
        m_buffer.resize(m_end + m_readSize);
    }
    const std::size_t got =
        m_inflater ? m_inflater->inflateInto(m_buffer.data() + m_end, m_readSize,
                                             [this](char* to) { return readRaw(to); })
                   : readRaw(m_buffer.data() + m_end);
    m_end += got;
    return got > 0;
}

std::string_view Input::peek(std::size_t count) {
    while (m_end - m_begin < count && fill()) {
    }
    return std::string_view(m_buffer.data() + m_begin, std::min(count, m_end - m_begin));
}

std::string_view Input::block() {
    if (m_begin == m_end) {
        fill();
    }
    return std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
}

bool Input::readLine(std::string_view& line) {
    m_joined.clear();
    for (;;) {
        const std::string_view rest = block();
        if (rest.empty()) {
            m_lineEnded = false;
            line = m_joined;
            return !line.empty();
        }
        const auto* newline = static_cast<const char*>(std::memchr(rest.data(), '\n', rest.size()));
        if (newline == nullptr) {
            m_joined.append(rest);
            consume(rest.size());
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(newline - rest.data());
        if (m_joined.empty()) {
            line = rest.substr(0, length);  // whole in the buffer, which stays until the next read
        } else {
            m_joined.append(rest.data(), length);
            line = m_joined;
        }
        consume(length + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        m_lineEnded = true;
        return true;
    }
}

void Input::checkStream() const {
    if (m_in.bad()) {
        throw SearchError(m_source, 0, 0, "the input could not be read");
    }
}

}  // namespace internal
}  // namespace NorvSearch
