// The wire corpus: every buffer of every tests/wire/<version>/ folder, read by
// the current library. For each file, one test wire.<version>.<file> checks
// that reading it consumes exactly the whole file, that the object read dumps
// as the committed .dump file says, byte for byte, and that writing it gives
// the same bytes back. One more test checks that the folder of the current
// version holds a buffer of every persisted class.
#include <norvext/NorvExt.h>
#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <boost/core/demangle.hpp>

#include <cstdio>
#include <exception>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

using Norv::AlignedBuf;

namespace {

struct WireFile {
    const char* version;  // the folder, <major>.<minor>
    const char* name;     // <Class>-<n>, the file's name without extension
    const char* type;     // as norvext-dump --type names it ("term" for every term)
    const char* bin;      // the .bin file as hex
    const char* dump;     // the .dump file as hex
};

const WireFile kWireFiles[] = {
#include "WireFiles.inc"
};

std::string fromHex(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        unsigned int byte = 0;
        std::sscanf(p, "%2x", &byte);
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

// Bytes as 4-byte groups of hex digits, eight groups a line, so that a
// failure shows where the bytes differ.
std::string hexLines(const std::string& bytes) {
    std::ostringstream os;
    os << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        os << std::setw(2) << static_cast<unsigned int>(static_cast<unsigned char>(bytes[i]))
           << (i + 1 == bytes.size() || i % 32 == 31 ? "\n" : i % 4 == 3 ? " " : "");
    }
    return os.str();
}

std::string withoutCarriageReturns(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

// "DBField" for Norv::DBField.
std::string classNameOf(const std::type_info& type) {
    const std::string name = boost::core::demangle(type.name());
    return name.substr(name.rfind(':') + 1);
}

// What reading a buffer gave: the class of the object, its dump and the
// bytes it writes.
struct Read {
    std::string className;
    std::string dump;
    std::string bytes;
};

template <class T>
Read described(const T& object) {
    std::ostringstream dump;
    object.dump(dump, 0);
    AlignedBuf again;
    object.write(again);
    const std::vector<unsigned char> written = again.bytes();
    return {classNameOf(typeid(object)), dump.str(), std::string(written.begin(), written.end())};
}

template <class T>
Read readObject(AlignedBuf& buf) {
    T object;
    object.read(buf);
    return described(object);
}

// A term of any class, behind its type code, through the term factory.
Read readTerm(AlignedBuf& buf) { return described(*Norv::DBTerm::create(buf)); }

// The norvext-dump types that a manifest names, and how each is read.
const std::map<std::string, Read (*)(AlignedBuf&)> kReaders = {
    {"DBField", &readObject<Norv::DBField>},
    {"DBDatabase", &readObject<Norv::DBDatabase>},
    {"QueryDBInfo", &readObject<Norv::QueryDBInfo>},
    {"XBlastDBInfo", &readObject<Norv::XBlastDBInfo>},
    {"term", &readTerm},
    {"Summary", &readObject<Norv::Summary>},
    {"DBQuery", &readObject<Norv::DBQuery>},
    {"XBlastParams", &readObject<Norv::XBlastParams>},
    {"FastAParams", &readObject<Norv::FastAParams>},
};

// Reads one file with the current library; throws what the read throws.
Read readFile(const WireFile& file, std::size_t& consumed) {
    const auto reader = kReaders.find(file.type);
    if (reader == kReaders.end()) {
        throw std::runtime_error(std::string("manifest.txt names an unknown type '") + file.type + "'");
    }
    const std::string bytes = fromHex(file.bin);
    AlignedBuf buf(std::vector<unsigned char>(bytes.begin(), bytes.end()));
    try {
        const Read read = reader->second(buf);
        consumed = buf.tell();
        return read;
    } catch (...) {
        consumed = buf.tell();
        throw;
    }
}

class WireFileTest : public ::testing::Test {
public:
    explicit WireFileTest(const WireFile& file) : m_file(file) {}

    void TestBody() override {
        const std::string bytes = fromHex(m_file.bin);
        std::size_t consumed = 0;
        Read read;
        try {
            read = readFile(m_file, consumed);
        } catch (const std::exception& e) {
            FAIL() << m_file.name << ".bin does not read: " << e.what() << " (stopped at byte offset " << consumed
                   << " of " << bytes.size() << ")";
        }
        EXPECT_EQ(consumed, bytes.size()) << "the read does not end where " << m_file.name << ".bin ends";
        EXPECT_EQ(withoutCarriageReturns(read.dump), withoutCarriageReturns(fromHex(m_file.dump)))
            << "the dump differs from " << m_file.version << "/" << m_file.name << ".dump";
        EXPECT_EQ(hexLines(read.bytes), hexLines(bytes))
            << "writing the object read does not give " << m_file.name << ".bin back";
        const std::string name = m_file.name;
        EXPECT_EQ(read.className, name.substr(0, name.rfind('-'))) << "the file is named after another class";
    }

private:
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

template <class... T>
std::vector<std::string> classNames() {
    return {classNameOf(typeid(T))...};
}

TEST(wire, CurrentVersionHoldsEveryPersistedClass) {
    std::set<std::string> held;
    for (const WireFile& file : kWireFiles) {
        std::size_t consumed = 0;
        if (std::string(file.version) == NORV_WIRE_VERSION) {
            try {
                held.insert(readFile(file, consumed).className);
            } catch (const std::exception&) {
                // Its own test reports it.
            }
        }
    }
    const std::vector<std::string> persisted =
        classNames<Norv::DBField, Norv::DBDatabase, Norv::QueryDBInfo, Norv::XBlastDBInfo, Norv::DBStringTerm,
                   Norv::DBRangeTerm, Norv::DBBooleanTerm, Norv::Summary, Norv::DBQuery, Norv::XBlastParams,
                   Norv::FastAParams>();
    for (const std::string& name : persisted) {
        EXPECT_EQ(held.count(name), 1u) << "tests/wire/" << NORV_WIRE_VERSION << "/ holds no buffer of " << name
                                        << " that the library reads";
    }
}

}  // namespace
