// Every persisted class against the same contract: its samples' bytes and
// dumps are the golden ones; reading the bytes gives the object back and
// consumes them exactly, and so does its JSON; reading into an object in use
// replaces or appends field by field as the golden files record; every
// truncated prefix fails with the buffer's std::out_of_range and leaves the
// state recorded there.
#include "tests/support/GTestSupport.h"

#include <norvext/json/JsonMapping.h>
#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

using Norv::AlignedBuf;
using NorvTest::bytesOf;
using NorvTest::dumpOf;
using NorvTest::readNew;

namespace {

// Bytes as 4-byte groups of hex digits in buffer order, eight groups a line,
// each line indented by two spaces.
std::string hexLines(const std::vector<unsigned char>& bytes) {
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

template <class T>
void readInto(T& object, AlignedBuf& buf) {
    if constexpr (Norv::PersistedClass<T>::s_isTerm) {
        unsigned int code = 0;
        buf.get(code);
    }
    object.read(buf);
}

// What an object holds, as the bytes it writes or why it cannot write.
template <class T>
std::string stateOf(const T& object) {
    try {
        return hexLines(bytesOf(object));
    } catch (const std::exception& e) {
        return std::string("  write fails: ") + e.what() + "\n";
    }
}

template <class T>
class Persisted : public ::testing::Test {};

// The class names are the tests' names and the golden files'.
TYPED_TEST_SUITE(Persisted, NorvTest::PersistedTypes, NorvTest::PersistedTypeName);

// Every sample, and every object read from its bytes with one word after
// another set to 2 (a flag of 2, odd padding, a short count...): the object
// read writes bytes that read back to the same bytes, and its JSON, indented
// and on one line, gives those bytes and prints the same again. A sample
// reads back whole, to its own bytes and dump, also through a constructor
// from a buffer.
TYPED_TEST(Persisted, EveryObjectReadComesBackThroughItsBytesAndItsJson) {
    int objects = 0;
    for (const TypeParam& sample : NorvTest::samples<TypeParam>()) {
        const std::vector<unsigned char> bytes = bytesOf(sample);
        for (std::size_t at = 0; at <= bytes.size(); at += 4) {
            std::vector<unsigned char> variant = bytes;  // the sample itself, last
            if (at < bytes.size()) {
                std::fill_n(variant.begin() + at, 4, 0);
                variant[at] = 2;  // little-endian
            }
            AlignedBuf buf(variant);
            TypeParam read;
            try {
                read = readNew<TypeParam>(buf);
            } catch (const std::exception&) {
                continue;  // bytes that do not read are the readers' tests
            }
            ++objects;
            const std::vector<unsigned char> written = bytesOf(read);
            AlignedBuf again(written);
            ASSERT_EQ(hexLines(bytesOf(readNew<TypeParam>(again))), hexLines(written));
            for (int indent : {2, -1}) {
                const std::string json = NorvJson::toJson(read, indent);
                const TypeParam back = NorvJson::fromJson<TypeParam>(json);
                ASSERT_EQ(hexLines(bytesOf(back)), hexLines(written)) << json;
                ASSERT_EQ(NorvJson::toJson(back, indent), json);
                EXPECT_EQ(json.find('\n') == std::string::npos, indent < 0) << json;
            }
            if (variant == bytes) {
                EXPECT_EQ(buf.tell(), bytes.size()) << "the read stopped short of the end";
                EXPECT_EQ(hexLines(written), hexLines(bytes));
                EXPECT_EQ(dumpOf(read), dumpOf(sample));
                if constexpr (std::is_constructible<TypeParam, AlignedBuf&>::value) {
                    AlignedBuf fresh(bytes);
                    EXPECT_EQ(hexLines(bytesOf(TypeParam(fresh))), hexLines(bytes)) << "the constructor from a buffer";
                }
            }
        }
    }
    EXPECT_GT(objects, 3);
}

TYPED_TEST(Persisted, MatchesTheGoldenFile) {
    const std::vector<TypeParam> all = NorvTest::samples<TypeParam>();
    std::ostringstream golden;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::vector<unsigned char> bytes = bytesOf(all[i]);
        golden << "sample " << i << ": " << bytes.size() << " bytes\n" << hexLines(bytes) << dumpOf(all[i]);
    }
    // Reading into an object in use: what each field does with what was there.
    for (std::size_t into = 0; into < all.size(); ++into) {
        for (std::size_t from = 0; from < all.size(); ++from) {
            if (from == into) {
                continue;
            }
            AlignedBuf buf(bytesOf(all[from]));
            TypeParam object = NorvTest::samples<TypeParam>()[into];
            readInto(object, buf);
            golden << "sample " << from << " read into sample " << into << ":\n" << stateOf(object);
        }
    }
    // What a failed read leaves behind, for every place the bytes can end.
    const std::vector<unsigned char> bytes = bytesOf(all[2]);
    golden << "prefixes of sample 2 read into sample 1, from the size on:\n";
    std::string last;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        AlignedBuf cut(std::vector<unsigned char>(bytes.begin(), bytes.begin() + size));
        TypeParam object = NorvTest::samples<TypeParam>()[1];
        EXPECT_THROW(readInto(object, cut), std::out_of_range) << size << " bytes";
        const std::string state = stateOf(object);
        if (state != last) {
            golden << size << ":\n" << state;
            last = state;
        }
    }
    NorvTest::checkGolden(std::string(Norv::persistedClassName<TypeParam>()) + ".txt", golden.str());
}

}  // namespace
