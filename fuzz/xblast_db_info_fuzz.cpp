#include "FuzzSupport.h"

#include <norvext/catalogue/XBlastDBInfo.h>

namespace {

Norv::XBlastDBInfo construct(Norv::AlignedBuf& buf) { return Norv::XBlastDBInfo(buf); }

Norv::XBlastDBInfo readIntoFilled(Norv::AlignedBuf& buf) {
    Norv::XBlastDBInfo info("old", "old description", 100, 10, true);
    info.read(buf);
    return info;
}

void write(const Norv::XBlastDBInfo& info, Norv::AlignedBuf& buf) { info.write(buf); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(data, size, construct, write,
                          [](const Norv::XBlastDBInfo& info, std::ostream& os) { info.dump(os, 0); });
    NorvFuzz::checkReadersAgree(data, size, construct, readIntoFilled, write);
    return 0;
}
