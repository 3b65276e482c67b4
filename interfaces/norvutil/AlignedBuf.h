#ifndef NORVUTIL_ALIGNEDBUF_H
#define NORVUTIL_ALIGNEDBUF_H

#include <norvutil/Export.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace Norv {

/// A growable byte buffer that objects write themselves into and read
/// themselves back from, in writing order.
///
/// Layout: every item starts at a multiple of 4 bytes (padding is zero bytes);
/// a 32-bit integer is 4 bytes little-endian; a bool is a 32-bit 0 or 1 (any
/// non-zero value reads as true); a double is its 8 IEEE bytes little-endian; a
/// byte run is its 32-bit count, then the bytes, padded to 4.
///
/// Reads never run past the end: a read that lacks data throws
/// std::out_of_range naming what was being read, the offset and how many bytes
/// were missing, and leaves the read position where it was. Whatever the
/// bytes, reading is defined behaviour. A write that would make the buffer
/// larger than a vector can hold throws std::length_error.
///
/// Const calls change nothing: any number of threads may make them on one
/// buffer at once, as long as none changes it (writing and reading do).
class NORVUTIL_API AlignedBuf {
public:
    /// An empty buffer whose read position is 0.
    AlignedBuf() = default;
    /// A buffer holding persisted bytes, to be read from position 0.
    explicit AlignedBuf(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)), m_size(m_bytes.size()) {}
    /** @{ */
    /// Copies hold the bytes written and the read position, not the spare room.
    AlignedBuf(const AlignedBuf& other);
    AlignedBuf& operator=(const AlignedBuf& other);
    /** @} */
    /** @{ */
    /// A moved-from buffer is empty, with its read position at 0.
    AlignedBuf(AlignedBuf&& other) noexcept;
    AlignedBuf& operator=(AlignedBuf&& other) noexcept;
    /** @} */
    ~AlignedBuf() = default;

    /// A copy of everything written (or handed to the constructor) so far.
    std::vector<unsigned char> bytes() const {
        return std::vector<unsigned char>(m_bytes.data(), m_bytes.data() + m_size);
    }
    /// The same bytes in place, size() of them: valid until the buffer next
    /// changes; null or not when size() is 0.
    const unsigned char* data() const { return m_bytes.data(); }
    /// Number of bytes written so far.
    std::size_t size() const { return m_size; }
    /// Moves the read position back to the first byte.
    void rewind() { m_read = 0; }
    /// The read position: how many bytes reading has consumed.
    std::size_t tell() const { return m_read; }

    /// Appends a 32-bit integer; signed values travel as their 32 bits.
    void put(unsigned int value) { store32(room(4), static_cast<std::uint32_t>(value)); }
    /// Appends a flag as the 32-bit value 0 or 1.
    void put(bool value) { put(static_cast<unsigned int>(value ? 1u : 0u)); }
    /// Appends a double as its 8 IEEE bytes.
    void put(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        unsigned char* out = room(8);
        store32(out, static_cast<std::uint32_t>(bits));
        store32(out + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    /// Appends a byte run: the count n, then the n bytes, padded to 4.
    /// `bytes` may be null only when n is 0 (throws std::invalid_argument).
    void put(const unsigned char* bytes, unsigned int n) {
        const std::uint64_t run = 4 + padded(n);
        if (bytes == nullptr || run > spare()) {
            putRun(bytes, n);  // checks, and grows without zeroing the run first
            return;
        }
        unsigned char* out = m_bytes.data() + m_size;
        store32(out, n);
        std::memcpy(out + 4, bytes, n);  // the padding behind is spare room: zero
        m_size += static_cast<std::size_t>(run);
    }

    /// Reads what put(unsigned int) wrote.
    void get(unsigned int& value) { value = load32(take(4, "an unsigned int")); }
    /// Reads what put(unsigned int) wrote, as a signed value (-1 stays -1).
    void get(int& value) {
        value = static_cast<int>(load32(take(4, "an int")));
    }
    /// Reads what put(bool) wrote; any non-zero value is true.
    void get(bool& value) { value = load32(take(4, "a bool")) != 0; }
    /// Reads what put(double) wrote.
    void get(double& value) {
        const unsigned char* in = take(8, "a double");
        const std::uint64_t bits =
            static_cast<std::uint64_t>(load32(in)) | (static_cast<std::uint64_t>(load32(in + 4)) << 32);
        std::memcpy(&value, &bits, sizeof value);
    }
    /// Reads one byte run written by put(const unsigned char*, n): the string
    /// receives exactly those n bytes. On failure neither the string nor the
    /// read position changes.
    void get(std::string& value) {
        if (remaining() >= 4) {
            const std::uint32_t n = load32(m_bytes.data() + m_read);
            if (remaining() - 4 >= padded(n)) {
                const char* text = reinterpret_cast<const char*>(m_bytes.data() + m_read + 4);
                if (value.empty()) {
                    value.append(text, n);  // cheaper than assign(), which allows for overlap
                } else {
                    value.assign(text, n);
                }
                m_read += 4 + static_cast<std::size_t>(padded(n));
                return;
            }
        }
        failString();
    }
    /// Passes the next n bytes of a byte run whose count was already read with
    /// get(unsigned int&), and returns a pointer to them (valid until the
    /// buffer next changes; copy at once).
    const char* gets(unsigned int n) {
        if (n == 0) {
            return "";
        }
        return reinterpret_cast<const char*>(take(padded(n), "a byte run"));
    }

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
    /// Bytes of a run of n, padding included; 64-bit so that a count near
    /// 2^32 cannot wrap around on a 32-bit platform.
    static std::uint64_t padded(std::uint64_t n) { return (n + 3) & ~static_cast<std::uint64_t>(3); }

    /// Zeroed bytes behind the written ones, ready for writing.
    std::size_t spare() const { return m_bytes.size() - m_size; }
    /// Claims n bytes of spare room (making more when short) and returns where
    /// they start.
    unsigned char* room(std::size_t n) {
        if (spare() < n) {
            makeRoom(n);
        }
        unsigned char* at = m_bytes.data() + m_size;
        m_size += n;
        return at;
    }
    /// Grows the spare room to at least n bytes: the capacity at least
    /// doubles, and only a bounded stretch of it is zeroed at a time.
    void makeRoom(std::size_t n);
    /// Makes the capacity at least `needed`, doubling it at the least.
    void reserveFor(std::size_t needed);
    /// put() of a byte run that does not fit the spare room, or has null bytes.
    void putRun(const unsigned char* bytes, unsigned int n);

    std::size_t remaining() const { return m_read < m_size ? m_size - m_read : 0; }
    /// Consumes n bytes and returns where they start, or throws.
    const unsigned char* take(std::uint64_t n, const char* what) {
        if (remaining() < n) {
            fail(what, n);
        }
        const unsigned char* at = m_bytes.data() + m_read;
        m_read += static_cast<std::size_t>(n);
        return at;
    }
    [[noreturn]] void fail(const char* what, std::uint64_t needed) const;
    /// Throws what get(std::string&) reports for a run that is not all there.
    [[noreturn]] void failString() const;

    /// The written bytes, then spare room of zeros up to m_bytes.size().
    std::vector<unsigned char> m_bytes;
    std::size_t m_size = 0;
    std::size_t m_read = 0;
};

}  // namespace Norv

#endif
