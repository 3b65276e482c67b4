#include "FuzzSupport.h"

#include <norvext/params/XBlastParams.h>

namespace {

// An object that a preset has filled: read() replaces every field.
Norv::XBlastParams preset() {
    Norv::XBlastParams p;
    p.setDefaultsTBLASTX();
    p.setData("ACGU", 4);
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Norv::XBlastParams filled = preset();
    NorvFuzz::checkBufferConstructed(data, size, filled);
    return 0;
}
