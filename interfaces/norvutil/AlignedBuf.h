#ifndef NORVUTIL_ALIGNEDBUF_H
#define NORVUTIL_ALIGNEDBUF_H

#include <norvutil/Export.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Norv {

// A growable byte buffer that objects write themselves into and read
// themselves back from, in writing order.
//
// Layout: every item starts at a multiple of 4 bytes (padding is zero bytes);
// a 32-bit integer is 4 bytes little-endian; a bool is a 32-bit 0 or 1 (any
// non-zero value reads as true); a double is its 8 IEEE bytes little-endian; a
// byte run is its 32-bit count, then the bytes, padded to 4.
//
// Reads never run past the end: a read that lacks data throws
// std::out_of_range naming what was being read, the offset and how many bytes
// were missing, and leaves the read position where it was. Whatever the
// bytes, reading is defined behaviour.
class NORVUTIL_API AlignedBuf {
public:
    // An empty buffer whose read position is 0.
    AlignedBuf() = default;
    // A buffer holding persisted bytes, to be read from position 0.
    explicit AlignedBuf(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    // Everything written (or handed to the constructor) so far.
    const std::vector<unsigned char>& bytes() const { return m_bytes; }
    // Number of bytes written so far.
    std::size_t size() const { return m_bytes.size(); }
    // Moves the read position back to the first byte.
    void rewind() { m_read = 0; }

    // Appends a 32-bit integer; signed values travel as their 32 bits.
    void put(unsigned int value) {
        unsigned char* out = grow(4);
        store32(out, static_cast<std::uint32_t>(value));
    }
    // Appends a flag as the 32-bit value 0 or 1.
    void put(bool value) { put(static_cast<unsigned int>(value ? 1u : 0u)); }
    // Appends a double as its 8 IEEE bytes.
    void put(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        unsigned char* out = grow(8);
        store32(out, static_cast<std::uint32_t>(bits));
        store32(out + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    // Appends a byte run: the count n, then the n bytes, padded to 4.
    // `bytes` may be null only when n is 0 (throws std::invalid_argument).
    void put(const unsigned char* bytes, unsigned int n);

    // Reads what put(unsigned int) wrote.
    void get(unsigned int& value) { value = load32(take(4, "an unsigned int")); }
    // Reads what put(unsigned int) wrote, as a signed value (-1 stays -1).
    void get(int& value) {
        value = static_cast<int>(load32(take(4, "an int")));
    }
    // Reads what put(bool) wrote; any non-zero value is true.
    void get(bool& value) { value = load32(take(4, "a bool")) != 0; }
    // Reads what put(double) wrote.
    void get(double& value) {
        const unsigned char* in = take(8, "a double");
        const std::uint64_t bits =
            static_cast<std::uint64_t>(load32(in)) | (static_cast<std::uint64_t>(load32(in + 4)) << 32);
        std::memcpy(&value, &bits, sizeof value);
    }
    // Reads one byte run written by put(const unsigned char*, n): the string
    // receives exactly those n bytes. On failure neither the string nor the
    // read position changes.
    void get(std::string& value);
    // Passes the next n bytes of a byte run whose count was already read with
    // get(unsigned int&), and returns a pointer to them (valid until the
    // buffer next changes; copy at once).
    const char* gets(unsigned int n);

private:
    static void store32(unsigned char* out, std::uint32_t v) {
        out[0] = static_cast<unsigned char>(v);
        out[1] = static_cast<unsigned char>(v >> 8);
        out[2] = static_cast<unsigned char>(v >> 16);
        out[3] = static_cast<unsigned char>(v >> 24);
    }
    static std::uint32_t load32(const unsigned char* in) {
        return static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
               (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
    }
    // Bytes of a run of n, padding included. Counted in 64 bits: with a
    // 32-bit size_t a count near 2^32 would wrap to a padded size of 0.
    static std::uint64_t padded(std::uint64_t n) { return (n + 3) & ~static_cast<std::uint64_t>(3); }

    unsigned char* grow(std::size_t n) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + n);
        return m_bytes.data() + at;
    }
    std::size_t remaining() const { return m_read < m_bytes.size() ? m_bytes.size() - m_read : 0; }
    // Consumes n bytes and returns where they start, or throws.
    const unsigned char* take(std::uint64_t n, const char* what) {
        if (remaining() < n) {
            fail(what, n);
        }
        const unsigned char* at = m_bytes.data() + m_read;
        m_read += static_cast<std::size_t>(n);
        return at;
    }
    [[noreturn]] void fail(const char* what, std::uint64_t needed) const;

    std::vector<unsigned char> m_bytes;
    std::size_t m_read = 0;
};

}  // namespace Norv

#endif
