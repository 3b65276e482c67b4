#include "FuzzSupport.h"

#include <norvext/catalogue/XBlastDBInfo.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkBufferConstructed(data, size, Norv::XBlastDBInfo("old", "old description", 100, 10, true));
    return 0;
}
