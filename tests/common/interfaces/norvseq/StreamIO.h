#ifndef NORVSEQ_STREAMIO_H
#define NORVSEQ_STREAMIO_H

// What NorvExt may ask of NorvSeq's text strings: reading one back.

#include <iosfwd>
#include <string>

namespace Norv {

class StreamIO {
public:
    static std::istream& read(std::istream& is, std::string& value);
};

}  // namespace Norv

#endif
