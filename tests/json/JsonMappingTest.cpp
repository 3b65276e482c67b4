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
#include <string>
#include <vector>

extern const char* const kJsonDoc;

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
    withClass(name, [&](auto entry) {
        using T = typename decltype(entry)::Class;
        if constexpr (kIsTerm<T>) {
            bytes = bytesOf(*NorvJson::termFromJson(json));
        } else {
            bytes = bytesOf(NorvJson::fromJson<T>(json));
        }
    });
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
            EXPECT_EQ(bytesOf(*NorvJson::termFromJson(jsonOf(sample))), bytesOf(sample));
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

// One edit of a sample's JSON, and what reading the result must say.
struct BadJson {
    const char* name;
    const char* className;
    int sample;
    const char* from;  // occurs exactly once; empty: the whole document
    const char* to;
    const char* message;  // what() exactly, or its start where `prefix`
    bool prefix;
};

const BadJson kBadJson[] = {
    {"syntax", "DBQuery", 1, "\"hitCount\": 2,", "\"hitCount\": 2,,",
     "parse error at line 5, column 17: syntax error while parsing object key - unexpected ','", true},
    {"not_json", "DBQuery", 1, "\"databases\": [", "databases: [", "parse error at line 2, column 3: ", true},
    {"top_level", "DBQuery", 1, "", "[]", "(top level): expected an object, found an array", false},
    {"missing", "DBQuery", 2, "\"sourceID\": \"X56734\",", "", "hits[0].sourceID: missing", false},
    {"unknown", "DBQuery", 2, "\"sourceID\": \"X56734\",", "\"sourceID\": \"X56734\", \"colour\": \"red\",",
     "hits[0].colour: unknown member", false},
    {"unknown_top", "Summary", 1, "\"id\": ", "\"ID\": 1, \"id\": ", "ID: unknown member", false},
    {"wrong_type", "Summary", 1, "\"id\": 42,", "\"id\": \"42\",", "id: expected an unsigned 32-bit integer, found a string",
     false},
    {"unsigned_over", "Summary", 1, "\"id\": 42,", "\"id\": 4294967296,",
     "id: 4294967296 is outside the range of an unsigned 32-bit integer (0 to 4294967295)", false},
    {"unsigned_negative", "Summary", 1, "\"id\": 42,", "\"id\": -1,",
     "id: -1 is outside the range of an unsigned 32-bit integer (0 to 4294967295)", false},
    {"signed_over", "DBQuery", 1, "\"hitCount\": 2,", "\"hitCount\": 2147483648,",
     "hitCount: 2147483648 is outside the range of a signed 32-bit integer (-2147483648 to 2147483647)", false},
    {"signed_under", "DBQuery", 1, "\"hitCount\": 2,", "\"hitCount\": -2147483649,",
     "hitCount: -2147483649 is outside the range of a signed 32-bit integer (-2147483648 to 2147483647)", false},
    {"huge", "DBQuery", 1, "\"hitCount\": 2,", "\"hitCount\": 1e400,", "number overflow parsing '1e400'", false},
    {"fraction", "DBQuery", 1, "\"hitCount\": 2,", "\"hitCount\": 2.5,",
     "hitCount: expected a signed 32-bit integer, found the number 2.5", false},
    {"id_list", "DBQuery", 1, "\"databases\": [", "\"databases\": [\"8\", ",
     "databases[0]: expected a signed 32-bit integer, found a string", false},
    {"not_a_list", "DBDatabase", 1, "", "{\"name\": \"\", \"description\": \"\", \"id\": 1, \"tag\": \"\", \"fields\": {}}",
     "fields: expected an array, found an object", false},
    {"flag", "DBQuery", 1, "\"wildcard\": true", "\"wildcard\": 1", "wildcard: expected true or false, found the number 1",
     false},
    {"op_type", "DBQuery", 1, "\"op\": \"AND\"", "\"op\": 1", "term.op: expected a string, found the number 1", false},
    {"term_class", "DBQuery", 1, "\"class\": \"DBRangeTerm\"", "\"class\": \"DBRangeTerms\"",
     "term.terms[1].terms[0].class: unknown term class 'DBRangeTerms' (DBStringTerm, DBRangeTerm or DBBooleanTerm)",
     false},
    {"term_without_class", "DBBooleanTerm", 1, "\"class\": \"DBRangeTerm\",", "", "terms[1].terms[0].class: missing",
     false},
    {"operator", "DBQuery", 1, "\"op\": \"AND\"", "\"op\": \"XOR\"", "term.op: unknown op 'XOR' (AND, OR or NOT)", false},
    {"compare", "DBQuery", 1, "\"compare\": \"EQ\"", "\"compare\": \"like\"",
     "term.terms[0].compare: unknown compare 'like' (EQ, NEQ, LT, GT, LE, GE or LIKE)", false},
    {"leaf_member", "DBBooleanTerm", 1, "\"query\": \"INS_HUMAN\",", "\"query\": \"INS_HUMAN\", \"terms\": [],",
     "terms[0].terms: unknown member", false},
    {"base64", "Summary", 1, "\"extra\": \"\"", "\"extra\": {\"base64\": \"QQ\"}", "extra.base64: not base64 ", true},
    {"base64_bits", "Summary", 1, "\"extra\": \"\"", "\"extra\": {\"base64\": \"QR==\"}", "extra.base64: not base64 ",
     true},
    {"bytes_member", "Summary", 1, "\"extra\": \"\"", "\"extra\": {\"base64\": \"\", \"hex\": \"41\"}",
     "extra.hex: unknown member", false},
    {"bytes_type", "Summary", 1, "\"extra\": \"\"", "\"extra\": 65", "extra: expected a string or ", true},
    {"real", "XBlastParams", 1, "\"expect\": 10.0,", "\"expect\": \"nan\",", "expect: 'nan' is not a number", true},
    {"real_type", "XBlastParams", 1, "\"expect\": 10.0,", "\"expect\": true,", "expect: expected a number, ", true},
    {"signal_free_nan", "XBlastParams", 1, "\"expect\": 10.0,", "\"expect\": \"NaN:7ff0000000000000\",",
     "expect: 'NaN:7ff0000000000000' is not a number", true},
    {"earliest", "FastAParams", 1, "\"earliest\": 50,", "\"earliest\": -1,",
     "earliest: -1 is outside the range of an unsigned 32-bit integer (0 to 4294967295)", false},
    {"nested_member", "QueryDBInfo", 1, "\"tag\": \"key\"", "\"tag\": \"key\", \"id2\": 0",
     "info[0].fields[1].id2: unknown member", false},
    {"twice", "DBQuery", 2, "\"sourceID\": \"X56734\",", "\"sourceID\": \"X56734\", \"sourceID\": \"x\",",
     "hits[0].sourceID: given twice", false},
    {"twice_nested", "DBBooleanTerm", 1, "\"begin\": \"1990\",", "\"begin\": \"1990\", \"begin\": \"1990\",",
     "terms[1].terms[0].begin: given twice", false},
};

// The JSON of sample `index` of the class named `name`.
std::string sampleJson(const std::string& name, int index) {
    std::string json;
    withClass(name, [&](auto entry) { json = jsonOf(NorvTest::samples<typename decltype(entry)::Class>()[index]); });
    return json;
}

TEST(JsonMapping, RefusesWhatDoesNotFitNamingWhereAndWhat) {
    for (const BadJson& c : kBadJson) {
        SCOPED_TRACE(c.name);
        std::string json = sampleJson(c.className, c.sample);
        const std::string from = c.from;
        if (from.empty()) {
            json = c.to;
        } else {
            const std::size_t at = json.find(from);
            ASSERT_TRUE(at != std::string::npos && json.find(from, at + 1) == std::string::npos)
                << "'" << from << "' does not occur exactly once in\n"
                << json;
            json.replace(at, from.size(), c.to);
        }
        try {
            encoded(c.className, json);
            ADD_FAILURE() << "taken:\n" << json;
        } catch (const JsonError& e) {
            const std::string what = e.what();
            if (c.prefix) {
                EXPECT_EQ(what.rfind(c.message, 0), 0u) << what;
            } else {
                EXPECT_EQ(what, c.message);
            }
            EXPECT_EQ(e.isSyntax(), what.find("parse error") == 0 || what.find("number overflow") == 0) << what;
        }
    }
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
