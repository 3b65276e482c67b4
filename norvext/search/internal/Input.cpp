#include "Input.h"

#include <norvext/search/SearchError.h>

#include <algorithm>
#include <cstring>

namespace NorvSearch {
namespace internal {
namespace {
constexpr std::size_t kBlock = 1 << 16;
}

Input::Input(std::istream& in, const std::string& source) : m_in(in), m_source(source), m_buffer(kBlock) {}

bool Input::fill() {
    if (m_begin == m_end) {
        m_begin = m_end = 0;
    }
    if (m_buffer.size() - m_end < kBlock) {
        m_buffer.resize(m_end + kBlock);
    }
    if (!m_in) {
        return false;
    }
    m_in.read(m_buffer.data() + m_end, static_cast<std::streamsize>(kBlock));
    const auto got = static_cast<std::size_t>(m_in.gcount());
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

std::string Input::readAll() {
    std::string all;
    for (std::string_view rest = block(); !rest.empty(); rest = block()) {
        all.append(rest);
        consume(rest.size());
    }
    checkStream();
    return all;
}

bool Input::readLine(std::string& line) {
    line.clear();
    for (;;) {
        const std::string_view rest = block();
        if (rest.empty()) {
            m_lineEnded = false;
            return !line.empty();
        }
        const auto* newline = static_cast<const char*>(std::memchr(rest.data(), '\n', rest.size()));
        if (newline == nullptr) {
            line.append(rest);
            consume(rest.size());
            continue;
        }
        const std::size_t length = static_cast<std::size_t>(newline - rest.data());
        line.append(rest.data(), length);
        consume(length + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
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
