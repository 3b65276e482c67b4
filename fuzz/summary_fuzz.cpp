#include "FuzzSupport.h"

#include <norvext/query/Summary.h>

namespace {

Norv::Summary construct(Norv::AlignedBuf& buf) { return Norv::Summary(buf); }

Norv::Summary readIntoDefault(Norv::AlignedBuf& buf) {
    Norv::Summary s;
    s.read(buf);
    return s;
}

void write(const Norv::Summary& s, Norv::AlignedBuf& buf) { s.write(buf); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(data, size, construct, write, [](const Norv::Summary& s, std::ostream& os) { s.dump(os, 0); });
    NorvFuzz::checkReadersAgree(data, size, construct, readIntoDefault, write);
    return 0;
}
