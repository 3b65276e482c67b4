#ifndef NORVEXT_TESTS_SUPPORT_GOLDEN_H
#define NORVEXT_TESTS_SUPPORT_GOLDEN_H

// Golden files: texts kept under tests/golden that a test's output must
// equal. With NORV_WRITE_GOLDEN=1 in the environment a test writes its output
// there instead and reports itself skipped, so a changed layout is reviewed
// in the diff rather than accepted by a green run.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

namespace NorvTest {

// Bytes as 4-byte groups of hex digits in buffer order, eight groups a line,
// each line indented by two spaces.
inline std::string hexLines(const std::vector<unsigned char>& bytes) {
    std::ostringstream os;
    os << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        os << (i % 32 == 0 ? "  " : i % 4 == 0 ? " " : "") << std::setw(2) << static_cast<int>(bytes[i]);
        if (i % 32 == 31 || i + 1 == bytes.size()) {
            os << '\n';
        }
    }
    return os.str();
}

// Compares `actual` with tests/golden/`name`; see above for rewriting it.
inline void checkGolden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(NORV_GOLDEN_DIR) + "/" + name;
    const char* rewrite = std::getenv("NORV_WRITE_GOLDEN");
    if (rewrite != nullptr && std::string(rewrite) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        GTEST_SKIP() << "rewrote " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "cannot read " << path;
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << "differs from " << path;
}

}  // namespace NorvTest

#endif
