// The JSON mapping beyond the round trips of the persisted suite: doubles
// keep their bits; documents that do not fit are refused with the path and
// the problem (bad-json.txt); the examples of docs/json.md are what the
// mapping prints.
#include "tests/support/Samples.h"

#include <norvext/json/NorvJson.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <regex>
#include <sstream>
#include <string>

namespace {

using NorvJson::JsonError;

// Calls `run(entry)` with the entry of the persisted class named `name`, or
// for "term" of a term class; false when no class has that name.
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

// Doubles keep their bits, where JSON has a number for them and where not.
TEST(JsonMapping, DoublesKeepTheirBits) {
    double payloadNaN;
    const std::uint64_t payload = 0xfff8000000000123u;
    std::memcpy(&payloadNaN, &payload, sizeof payload);
    using Limits = std::numeric_limits<double>;
    const std::pair<double, const char*> cases[] = {
        {0.1, "0.1"}, {-0.0, "-0.0"}, {1e-300, "1e-300"}, {Limits::denorm_min(), "5e-324"},
        {Limits::max(), "1.7976931348623157e+308"}, {Limits::infinity(), "\"Infinity\""},
        {-Limits::infinity(), "\"-Infinity\""}, {Limits::quiet_NaN(), "\"NaN\""},
        {payloadNaN, "\"NaN:fff8000000000123\""},
    };
    for (const auto& [value, text] : cases) {
        Norv::XBlastParams params;
        params.setExpect(value);
        const std::string json = NorvJson::toJson(params);
        EXPECT_NE(json.find(std::string("\"expect\": ") + text + ","), std::string::npos) << json;
        const double read = NorvJson::fromJson<Norv::XBlastParams>(json).getExpect();
        EXPECT_EQ(std::memcmp(&read, &value, sizeof value), 0) << text;
    }
}

// Every line of bad-json.txt: an edit of a sample's JSON that reading must
// refuse with that message.
TEST(JsonMapping, RefusesWhatDoesNotFitNamingWhereAndWhat) {
    std::istringstream table(NorvTest::fileText(NORV_SOURCE_DIR "/tests/json/bad-json.txt"));
    const std::regex row(R"(\S+ (\w+)-(\d+) \| (.*?) \| (.*?) \| (.*?)(\.\.\.)?)");
    int cases = 0;
    for (std::string line; std::getline(table, line);) {
        std::smatch field;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        SCOPED_TRACE(line);
        ASSERT_TRUE(std::regex_match(line, field, row)) << "not NAME CLASS-INDEX | FROM | TO | MESSAGE";
        const bool known = withClass(field[1], [&](auto entry) {
            using T = typename decltype(entry)::Class;
            std::string json = NorvJson::toJson(NorvTest::samples<T>().at(std::stoul(field[2])));
            const std::string from = field[3];
            const std::size_t at = json.find(from);
            if (from.empty()) {
                json = field[4];
            } else {
                ASSERT_TRUE(at != std::string::npos && json.find(from, at + 1) == std::string::npos)
                    << "'" << from << "' does not occur exactly once in\n" << json;
                json.replace(at, from.size(), field[4]);
            }
            try {
                NorvJson::fromJson<T>(json);
                ADD_FAILURE() << "taken:\n" << json;
            } catch (const JsonError& e) {
                const std::string what = e.what();  // ending in "...": the message begins so
                EXPECT_EQ(field[6].matched ? what.substr(0, field[5].length()) : what, field[5].str());
                EXPECT_EQ(e.isSyntax(), what.find("parse error") == 0 || what.find("number overflow") == 0) << what;
            }
        });
        EXPECT_TRUE(known) << "no class " << field[1];
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
    Norv::AlignedBuf buf(NorvTest::bytesOf(*NorvJson::termFromJson(nested(deepest))));
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
    const std::string doc = NorvTest::fileText(NORV_SOURCE_DIR "/docs/json.md");
    const std::string marker = "<!-- norvext-dump --json --type ", fence = " -->\n```json\n";
    std::string shown;
    for (std::size_t at = doc.find(marker); at != std::string::npos; at = doc.find(marker, at + 1)) {
        const std::size_t nameEnd = doc.find(fence, at);
        ASSERT_NE(nameEnd, std::string::npos) << "no ```json block right behind the marker at " << at;
        const std::string name = doc.substr(at + marker.size(), nameEnd - at - marker.size());
        const std::size_t begin = nameEnd + fence.size();
        const std::string example = doc.substr(begin, doc.find("```", begin) - begin);
        SCOPED_TRACE(name + " example at offset " + std::to_string(at));
        const bool known = withClass(name, [&](auto entry) {
            using T = typename decltype(entry)::Class;
            if constexpr (decltype(entry)::s_isTerm) {
                EXPECT_EQ(NorvJson::termToJson(*NorvJson::termFromJson(example)) + "\n", example);
            } else {
                EXPECT_EQ(NorvJson::toJson(NorvJson::fromJson<T>(example)) + "\n", example);
            }
        });
        EXPECT_TRUE(known) << "no class " << name;
        shown += (name == "term" ? example : "\"class\": \"" + name + "\"") + "\n";
    }
    Norv::forEachPersistedClass([&shown](auto entry) {
        EXPECT_NE(shown.find(std::string("\"class\": \"") + entry.name + "\""), std::string::npos)
            << "docs/json.md has no example of " << entry.name;
    });
}

}  // namespace
