#include "tests/support/Samples.h"

#include <fstream>

namespace NorvTest {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf())) {
        throw std::runtime_error("cannot read " + path);
    }
    return text.str();
}

}  // namespace NorvTest
