#include "FuzzSupport.h"

#include <norvext/query/Summary.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NorvFuzz::checkBufferConstructed(data, size, Norv::Summary());
    return 0;
}
