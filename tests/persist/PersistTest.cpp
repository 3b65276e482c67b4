// Every persisted class against the same contract: its samples' bytes and
// dumps are the golden ones; reading the bytes gives the object back and
// consumes them exactly; reading into an object in use replaces or appends
// field by field as the golden files record; every truncated prefix fails
// with the buffer's std::out_of_range and leaves the state recorded there.
#include "tests/support/Golden.h"
#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

using Norv::AlignedBuf;
using NorvTest::bytesOf;
using NorvTest::hexLines;

namespace {

// How a class is read: into a default object, or for a term through the
// factory, which takes the type code in front.
template <class T>
struct Reading {
    static T readNew(AlignedBuf& buf) {
        T object;
        object.read(buf);
        return object;
    }
    static void readInto(T& object, AlignedBuf& buf) { object.read(buf); }
};

template <class T>
struct TermReading {
    static T readNew(AlignedBuf& buf) {
        const auto term = boost::dynamic_pointer_cast<T>(Norv::DBTerm::create(buf));
        if (!term) {
            throw std::logic_error("the factory made a term of another class");
        }
        return *term;
    }
    static void readInto(T& object, AlignedBuf& buf) {
        unsigned int code = 0;
        buf.get(code);
        object.read(buf);
    }
};

template <>
struct Reading<Norv::DBStringTerm> : TermReading<Norv::DBStringTerm> {};
template <>
struct Reading<Norv::DBRangeTerm> : TermReading<Norv::DBRangeTerm> {};
template <>
struct Reading<Norv::DBBooleanTerm> : TermReading<Norv::DBBooleanTerm> {};

template <class T>
std::string dumpOf(const T& object) {
    std::ostringstream os;
    object.dump(os, 0);
    return os.str();
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
class Persisted : public ::testing::Test {
protected:
    using Read = Reading<T>;
    const std::vector<T> m_samples = NorvTest::samples<T>();
};

using Classes = ::testing::Types<Norv::DBField, Norv::DBDatabase, Norv::QueryDBInfo, Norv::XBlastDBInfo,
                                 Norv::DBStringTerm, Norv::DBRangeTerm, Norv::DBBooleanTerm, Norv::Summary,
                                 Norv::DBQuery, Norv::XBlastParams, Norv::FastAParams>;

// The class names as test names (and golden file names).
struct ClassName {
    template <class T>
    static std::string GetName(int) {
        return NorvTest::className<T>();
    }
};

TYPED_TEST_SUITE(Persisted, Classes, ClassName);

TYPED_TEST(Persisted, ReadingTheBytesGivesTheObjectBack) {
    for (const TypeParam& sample : this->m_samples) {
        const std::vector<unsigned char> bytes = bytesOf(sample);
        AlignedBuf buf(bytes);
        const TypeParam read = TestFixture::Read::readNew(buf);
        EXPECT_EQ(buf.tell(), bytes.size()) << "the read stopped short of the end";
        EXPECT_EQ(hexLines(bytesOf(read)), hexLines(bytes));
        EXPECT_EQ(dumpOf(read), dumpOf(sample));
        if constexpr (std::is_constructible<TypeParam, AlignedBuf&>::value) {
            AlignedBuf again(bytes);
            EXPECT_EQ(hexLines(bytesOf(TypeParam(again))), hexLines(bytes)) << "the constructor from a buffer";
        }
    }
}

TYPED_TEST(Persisted, MatchesTheGoldenFile) {
    const std::vector<TypeParam>& all = this->m_samples;
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
            TestFixture::Read::readInto(object, buf);
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
        EXPECT_THROW(TestFixture::Read::readInto(object, cut), std::out_of_range) << size << " bytes";
        const std::string state = stateOf(object);
        if (state != last) {
            golden << size << ":\n" << state;
            last = state;
        }
    }
    NorvTest::checkGolden(NorvTest::className<TypeParam>() + ".txt", golden.str());
}

}  // namespace
