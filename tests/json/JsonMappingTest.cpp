// The JSON mapping: every persisted class there and back without loss, even
// from bytes that the library writes otherwise; documents that do not fit
// refused with the path and the problem; the examples of docs/json.md are
// what the mapping prints.
#include "tests/support/PersistedTypes.h"

#include <norvext/json/NorvJson.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

extern const char* const kJsonDoc;
extern const char* const kBadJson;

namespace {

using NorvJson::JsonError;
using NorvTest::bytesOf;

template <class T>
constexpr bool kIsTerm = Norv::PersistedClass<T>::s_isTerm;

template <class T>
std::string jsonOf(const T& object, int indent = 2) {
    return NorvJson::toJson(object, indent);
}

// Calls `run.template operator()<T>()` with T the persisted class named
// `name`, or for "term" a term class; false when no class has that name.
template <class Run>
bool withClass(const std::string& name, Run run) {
    bool found = false;
    Norv::forEachPersistedClass([&](auto entry) {
        if (!found && (name == entry.name || (name == "term" && decltype(entry)::s_isTerm))) {
            found = true;
            run(entry);
        }
    });
    return found;
}

// The bytes of the object that `json` describes as class `name`; a term of
// any class for a term class. Throws JsonError.
std::vector<unsigned char> encoded(const std::string& name, const std::string& json) {
    std::vector<unsigned char> bytes;
    withClass(name, [&](auto entry) { bytes = NorvTest::bytesFromJson<typename decltype(entry)::Class>(json); });
    return bytes;
}

template <class T>
class JsonMapping : public ::testing::Test {};
TYPED_TEST_SUITE(JsonMapping, NorvTest::PersistedTypes, NorvTest::PersistedTypeName);

// Every sample, and every object read from its bytes with one word after
// another set to 2 (a flag of 2, odd padding, a short count...): the JSON
// of the object read gives back the bytes that the object writes, and prints
// the same again; on one line as well as indented.
TYPED_TEST(JsonMapping, CarriesEveryObjectReadWithoutLoss) {
    int objects = 0;
    for (const TypeParam& sample : NorvTest::samples<TypeParam>()) {
        const std::vector<unsigned char> bytes = bytesOf(sample);
        for (std::size_t at = 0; at <= bytes.size(); at += 4) {
            std::vector<unsigned char> variant = bytes;  // the sample itself, last
            if (at + 4 <= bytes.size()) {
                variant.assign(bytes.begin(), bytes.begin() + at);
                variant.insert(variant.end(), {2, 0, 0, 0});  // 2, little-endian
                variant.insert(variant.end(), bytes.begin() + at + 4, bytes.end());
            }
            Norv::AlignedBuf buf(variant);
            TypeParam read;
            try {
                read = NorvTest::readNew<TypeParam>(buf);
            } catch (const std::exception&) {
                continue;  // bytes that do not read are the readers' tests
            }
            ++objects;
            for (int indent : {2, -1}) {
                const std::string json = jsonOf(read, indent);
                const TypeParam back = NorvJson::fromJson<TypeParam>(json);
                ASSERT_EQ(bytesOf(back), bytesOf(read)) << json;
                ASSERT_EQ(jsonOf(back, indent), json);
                EXPECT_EQ(json.find('\n') == std::string::npos, indent < 0) << json;
            }
        }
    }
    EXPECT_GT(objects, 3);
}

TYPED_TEST(JsonMapping, TermsGoThroughEitherDoor) {
    if constexpr (kIsTerm<TypeParam>) {
        for (const TypeParam& sample : NorvTest::samples<TypeParam>()) {
            EXPECT_EQ(NorvJson::termToJson(sample), jsonOf(sample));
            EXPECT_EQ(NorvTest::bytesFromJson<TypeParam>(jsonOf(sample)), bytesOf(sample));
        }
    }
}

TEST(JsonMapping, TermOfAnotherClassIsRefused) {
    const std::string range = jsonOf(NorvTest::samples<Norv::DBRangeTerm>()[1]);
    try {
        NorvJson::fromJson<Norv::DBStringTerm>(range);
        FAIL() << "a DBRangeTerm was taken for a DBStringTerm";
    } catch (const JsonError& e) {
        EXPECT_STREQ(e.what(), "class: 'DBRangeTerm' where a DBStringTerm is expected");
        EXPECT_EQ(e.path(), "class");
    }
}

// Doubles keep their bits, where JSON has a number for them and where not.
TEST(JsonMapping, DoublesKeepTheirBits) {
    const auto bits = [](double value) {
        std::uint64_t out;
        std::memcpy(&out, &value, sizeof out);
        return out;
    };
    const auto fromBits = [](std::uint64_t in) {
        double out;
        std::memcpy(&out, &in, sizeof out);
        return out;
    };
    const struct {
        double value;
        const char* json;
    } cases[] = {
        {0.1, "0.1"},
        {-0.0, "-0.0"},
        {1e-300, "1e-300"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::infinity(), "\"Infinity\""},
        {-std::numeric_limits<double>::infinity(), "\"-Infinity\""},
        {std::numeric_limits<double>::quiet_NaN(), "\"NaN\""},
        {fromBits(0xfff8000000000123u), "\"NaN:fff8000000000123\""},
    };
    for (const auto& c : cases) {
        Norv::XBlastParams params;
        params.setExpect(c.value);
        const std::string json = jsonOf(params);
        EXPECT_NE(json.find(std::string("\"expect\": ") + c.json + ","), std::string::npos) << json;
        EXPECT_EQ(bits(NorvJson::fromJson<Norv::XBlastParams>(json).getExpect()), bits(c.value)) << c.json;
    }
}

// The JSON of sample `index` of the class named `name`.
std::string sampleJson(const std::string& name, int index) {
    std::string json;
    withClass(name, [&](auto entry) { json = jsonOf(NorvTest::samples<typename decltype(entry)::Class>()[index]); });
    return json;
}

// Every line of bad-json.txt: an edit of a sample's JSON that reading must
// refuse with that message.
TEST(JsonMapping, RefusesWhatDoesNotFitNamingWhereAndWhat) {
    std::istringstream table(kBadJson);
    int cases = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        SCOPED_TRACE(line);
        std::vector<std::string> field;
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
            bar = line.find(" | ", at);
            field.push_back(line.substr(at, bar - at));
        }
        ASSERT_EQ(field.size(), 4u) << "not NAME CLASS-INDEX | FROM | TO | MESSAGE";
        const std::size_t dash = field[0].rfind('-');
        const std::string className = field[0].substr(field[0].find(' ') + 1, dash - field[0].find(' ') - 1);
        std::string json = sampleJson(className, std::stoi(field[0].substr(dash + 1)));
        const std::string& from = field[1];
        const std::size_t at = json.find(from);
        if (from.empty()) {
            json = field[2];
        } else {
            ASSERT_TRUE(at != std::string::npos && json.find(from, at + 1) == std::string::npos)
                << "'" << from << "' does not occur exactly once in\n" << json;
            json.replace(at, from.size(), field[2]);
        }
        const bool prefix = field[3].size() > 3 && field[3].compare(field[3].size() - 3, 3, "...") == 0;
        const std::string message = prefix ? field[3].substr(0, field[3].size() - 3) : field[3];
        try {
            encoded(className, json);
            ADD_FAILURE() << "taken:\n" << json;
        } catch (const JsonError& e) {
            const std::string what = e.what();
            EXPECT_EQ(prefix ? what.substr(0, message.size()) : what, message);
            EXPECT_EQ(e.isSyntax(), what.find("parse error") == 0 || what.find("number overflow") == 0) << what;
        }
        ++cases;
    }
    EXPECT_GT(cases, 0);
}

TEST(JsonMapping, RefusesATermTreeDeeperThanTheFactoryReads) {
    const auto nested = [](int depth) {
        std::string json = "{\"class\": \"DBBooleanTerm\", \"op\": \"AND\", \"terms\": []}";
        for (int i = 1; i < depth; ++i) {
            json = "{\"class\": \"DBBooleanTerm\", \"op\": \"NOT\", \"terms\": [" + json + "]}";
        }
        return json;
    };
    const int deepest = Norv::DBTerm::s_maxDepth;
    const std::vector<unsigned char> bytes = bytesOf(*NorvJson::termFromJson(nested(deepest)));
    Norv::AlignedBuf buf(bytes);
    EXPECT_NO_THROW(Norv::DBTerm::create(buf)) << "the factory reads what the mapping takes";
    try {
        NorvJson::termFromJson(nested(deepest + 1));
        FAIL() << "a tree " << deepest + 1 << " deep was taken";
    } catch (const JsonError& e) {
        std::string path = "terms[0]";  // the deepest term's: one step below each of the others
        for (int i = 1; i < deepest; ++i) {
            path += ".terms[0]";
        }
        EXPECT_EQ(e.path(), path);
        EXPECT_EQ(e.problem().rfind("a term nested deeper than 256 levels", 0), 0u) << e.problem();
    }
}

// Each example of docs/json.md is a ```json block right behind a line
// "<!-- norvext-dump --json --type NAME -->": it must read, and print as it
// stands. Every class has an example (the term classes inside "term" ones).
TEST(JsonMapping, DocumentedExamplesAreWhatTheMappingPrints) {
    const std::string doc = kJsonDoc;
    const std::string marker = "<!-- norvext-dump --json --type ";
    std::string shown;
    int count = 0;
    for (std::size_t at = doc.find(marker); at != std::string::npos; at = doc.find(marker, at + 1)) {
        const std::size_t nameEnd = doc.find(" -->\n```json\n", at);
        ASSERT_NE(nameEnd, std::string::npos) << "no ```json block right behind the marker at " << at;
        const std::string name = doc.substr(at + marker.size(), nameEnd - at - marker.size());
        const std::size_t begin = nameEnd + std::strlen(" -->\n```json\n");
        const std::string example = doc.substr(begin, doc.find("```", begin) - begin);
        SCOPED_TRACE(name + " example at offset " + std::to_string(at));
        const bool known = withClass(name, [&](auto entry) {
            using T = typename decltype(entry)::Class;
            if constexpr (kIsTerm<T>) {
                EXPECT_EQ(NorvJson::termToJson(*NorvJson::termFromJson(example)) + "\n", example);
            } else {
                EXPECT_EQ(jsonOf(NorvJson::fromJson<T>(example)) + "\n", example);
            }
        });
        EXPECT_TRUE(known) << "no class " << name;
        shown += (name == "term" ? example : "\"class\": \"" + name + "\"") + "\n";
        ++count;
    }
    EXPECT_GT(count, 0);
    Norv::forEachPersistedClass([&shown](auto entry) {
        EXPECT_NE(shown.find(std::string("\"class\": \"") + entry.name + "\""), std::string::npos)
            << "docs/json.md has no example of " << entry.name;
    });
}

}  // namespace
