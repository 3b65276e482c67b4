#ifndef NORVSEQ_STREAMIO_H
#define NORVSEQ_STREAMIO_H

#include <norvseq/Export.h>

#include <iosfwd>
#include <string>

namespace Norv {

/// Length-prefixed strings in text streams: the byte length in decimal, a
/// colon, then the bytes as they stand.
class NORVSEQ_API StreamIO {
public:
    /// Writes `value` as length, colon, bytes (no line feed).
    static std::ostream& write(std::ostream& os, const std::string& value);
    /// Reads one string written by write(); leading white space before the
    /// length is skipped, nothing after the bytes is consumed. On malformed or
    /// short input the stream is left failed and `value` unchanged; memory
    /// follows the bytes actually present, whatever length is announced.
    static std::istream& read(std::istream& is, std::string& value);
};

}  // namespace Norv

#endif
