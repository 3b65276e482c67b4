// The wire corpus: every buffer of every tests/wire/<version>/ folder, read by
// the current library as the class that its name gives. For each file,
// one test wire.<version>.<file> checks that reading it consumes exactly the
// whole file, that the object read dumps as the committed .dump file says,
// byte for byte, and that writing it gives the same bytes back. One more test
// checks that the folder of the current version covers every persisted class.
#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct WireFile {
    const char* version;  // the folder, <major>.<minor>
    const char* name;     // <Class>-<n>, the file's name without extension
    const char* bin;      // the .bin file as hex
    const char* dump;     // the .dump file as hex
};

const WireFile kWireFiles[] = {
#include "WireFiles.inc"
};

std::vector<unsigned char> fromHex(const char* hex) {
    std::vector<unsigned char> bytes;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        unsigned int byte = 0;
        std::sscanf(p, "%2x", &byte);
        bytes.push_back(static_cast<unsigned char>(byte));
    }
    return bytes;
}

std::string withoutCarriageReturns(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

// "DBField" for "DBField-2".
std::string classOf(const WireFile& file) {
    const std::string name = file.name;
    return name.substr(0, name.rfind('-'));
}

class WireFileTest : public ::testing::Test {
public:
    explicit WireFileTest(const WireFile& file) : m_file(file) {}

    void TestBody() override {
        bool known = false;
        Norv::forEachPersistedClass([&](auto entry) {
            if (classOf(m_file) == entry.name) {
                known = true;
                check<typename decltype(entry)::Class>();
            }
        });
        EXPECT_TRUE(known) << m_file.name << " is named after no persisted class";
    }

private:
    template <class T>
    void check() {
        const std::vector<unsigned char> bytes = fromHex(m_file.bin);
        Norv::AlignedBuf buf(bytes);
        std::string dump;
        try {
            const T object = NorvTest::readNew<T>(buf);
            dump = NorvTest::dumpOf(object);
            EXPECT_TRUE(NorvTest::bytesOf(object) == bytes) << "writing the object read does not give " << m_file.name << ".bin back";
        } catch (const std::exception& e) {
            FAIL() << m_file.name << ".bin does not read: " << e.what();
        }
        EXPECT_EQ(buf.tell(), bytes.size()) << "the read does not end where " << m_file.name << ".bin ends";
        const std::vector<unsigned char> expected = fromHex(m_file.dump);
        EXPECT_EQ(withoutCarriageReturns(dump), withoutCarriageReturns(std::string(expected.begin(), expected.end())))
            << "the dump differs from " << m_file.version << "/" << m_file.name << ".dump";
    }

    const WireFile& m_file;
};

// wire.<version>.<file>, with '_' for '-', which a test filter reads as "but not".
const bool kRegistered = [] {
    for (const WireFile& file : kWireFiles) {
        std::string name = file.name;
        name[name.rfind('-')] = '_';
        ::testing::RegisterTest((std::string("wire.") + file.version).c_str(), name.c_str(), nullptr, nullptr,
                                __FILE__, __LINE__, [&file]() -> ::testing::Test* { return new WireFileTest(file); });
    }
    return true;
}();

TEST(wire, CurrentVersionHoldsEveryPersistedClass) {
    std::set<std::string> held;
    for (const WireFile& file : kWireFiles) {
        if (std::string(file.version) == NORV_WIRE_VERSION) {
            held.insert(classOf(file));
        }
    }
    Norv::forEachPersistedClass([&held](auto entry) {
        EXPECT_EQ(held.count(entry.name), 1u) << "tests/wire/" << NORV_WIRE_VERSION << "/ holds no buffer of " << entry.name;
    });
}

}  // namespace
