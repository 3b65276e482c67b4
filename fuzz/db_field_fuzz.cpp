#include "FuzzSupport.h"

#include <norvext/catalogue/DBField.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkBufferConstructed(data, size, Norv::DBField(7, "old name", "old description", "old tag"));
    return 0;
}
