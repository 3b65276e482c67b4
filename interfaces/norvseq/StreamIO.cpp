#include <norvseq/StreamIO.h>

#include <algorithm>
#include <istream>
#include <ostream>

namespace Norv {

std::ostream& StreamIO::write(std::ostream& os, const std::string& value) {
    os << value.size() << ':';
    return os.write(value.data(), static_cast<std::streamsize>(value.size()));
}

std::istream& StreamIO::read(std::istream& is, std::string& value) {
    std::size_t length = 0;
    if (!(is >> length)) {
        return is;
    }
    if (is.get() != ':') {
        is.setstate(std::ios::failbit);
        return is;
    }
    // Read in chunks so that a huge announced length costs no more memory
    // than the bytes the stream really holds.
    std::string text;
    char chunk[4096];
    while (text.size() < length) {
        const std::size_t want = std::min(sizeof chunk, length - text.size());
        is.read(chunk, static_cast<std::streamsize>(want));
        text.append(chunk, static_cast<std::size_t>(is.gcount()));
        if (!is) {
            return is;
        }
    }
    value.swap(text);
    return is;
}

}  // namespace Norv
