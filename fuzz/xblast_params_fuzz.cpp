#include "FuzzSupport.h"

#include <norvext/params/XBlastParams.h>

namespace {

Norv::XBlastParams construct(Norv::AlignedBuf& buf) { return Norv::XBlastParams(buf); }

// read() on an object that a preset has filled: every field is replaced.
Norv::XBlastParams readIntoPreset(Norv::AlignedBuf& buf) {
    Norv::XBlastParams p;
    p.setDefaultsTBLASTX();
    p.setData("ACGU", 4);
    p.read(buf);
    return p;
}

void write(const Norv::XBlastParams& p, Norv::AlignedBuf& buf) { p.write(buf); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkReader(data, size, construct, write,
                          [](const Norv::XBlastParams& p, std::ostream& os) { p.dump(os, 0); });
    NorvFuzz::checkReadersAgree(data, size, construct, readIntoPreset, write);
    return 0;
}
