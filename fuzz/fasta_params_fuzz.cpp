#include "FuzzSupport.h"

#include <norvext/params/FastAParams.h>

// FastAParams has no constructor from a buffer: a reader default-constructs
// and calls read().
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(
        data, size,
        [](Norv::AlignedBuf& buf) {
            Norv::FastAParams p;
            p.read(buf);
            return p;
        },
        [](const Norv::FastAParams& p, Norv::AlignedBuf& buf) { p.write(buf); },
        [](const Norv::FastAParams& p, std::ostream& os) { p.dump(os, 0); });
    return 0;
}
