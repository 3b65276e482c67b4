#include "FuzzSupport.h"

#include <norvext/query/Summary.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(
        data, size, [](Norv::AlignedBuf& buf) { return Norv::Summary(buf); },
        [](const Norv::Summary& s, Norv::AlignedBuf& buf) { s.write(buf); },
        [](const Norv::Summary& s, std::ostream& os) { s.dump(os, 0); });
    return 0;
}
