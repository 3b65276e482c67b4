// README.md must not go stale: every code block and table in it is preceded
// by a marker comment that says how it is kept true, and is checked here:
//   <!-- make targets -->          each line runs a target of the Makefile
//   <!-- from PATH -->             the text stands verbatim in that file
//   <!-- AlignedBuf layout -->     the bytes that AlignedBuf writes, as listed
//   <!-- folders -->               the folders of the first column exist
//   <!-- output of norvext-dump ARGS -->  checked by the tools.dump.readme_* tests
#include <norvutil/AlignedBuf.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string source(const std::string& path) { return std::string(NORV_SOURCE_DIR) + "/" + path; }

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A fenced code block, or a run of table lines, with the marker before it.
struct Block {
    std::string marker;  // the text inside <!-- -->, or empty
    std::vector<std::string> lines;
    bool fenced;
    int startLine;  // 1-based line of the fence or first table line

    std::string text() const {
        std::string all;
        for (const auto& line : lines) {
            all += line + "\n";
        }
        return all;
    }
};

std::string markerBefore(const std::vector<std::string>& lines, std::size_t at) {
    static const std::regex comment(R"(^<!-- (.*) -->$)");
    while (at > 0 && lines[at - 1].empty()) {
        --at;
    }
    std::smatch match;
    if (at > 0 && std::regex_match(lines[at - 1], match, comment)) {
        return match[1];
    }
    return "";
}

std::vector<Block> blocksOf(const std::string& readme) {
    const std::vector<std::string> lines = linesOf(readme);
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, 3, "```") == 0) {
            Block block{markerBefore(lines, i), {}, true, static_cast<int>(i + 1)};
            for (++i; i < lines.size() && lines[i].compare(0, 3, "```") != 0; ++i) {
                block.lines.push_back(lines[i]);
            }
            blocks.push_back(block);
        } else if (!lines[i].empty() && lines[i][0] == '|') {
            Block block{markerBefore(lines, i), {}, false, static_cast<int>(i + 1)};
            for (; i < lines.size() && !lines[i].empty() && lines[i][0] == '|'; ++i) {
                block.lines.push_back(lines[i]);
            }
            blocks.push_back(block);
        }
    }
    return blocks;
}

const std::vector<Block>& readmeBlocks() {
    static const std::vector<Block> blocks = blocksOf(slurp(source("README.md")));
    return blocks;
}

std::set<std::string> makeTargets() {
    static const std::regex rule(R"(^([A-Za-z][A-Za-z0-9_-]*):([^=]|$))");
    std::set<std::string> targets;
    for (const auto& line : linesOf(slurp(source("Makefile")))) {
        std::smatch match;
        if (std::regex_search(line, match, rule)) {
            targets.insert(match[1]);
        }
    }
    return targets;
}

// The AlignedBuf layout as the README lists it: what is put, then its bytes.
std::string layoutListing() {
    struct Item {
        const char* call;
        std::function<void(Norv::AlignedBuf&)> put;
    };
    const auto text = [](const char* s) {
        return [s](Norv::AlignedBuf& buf) {
            buf.put(reinterpret_cast<const unsigned char*>(s), static_cast<unsigned int>(std::string(s).size()));
        };
    };
    const Item items[] = {
        {"put(0x01020304u)", [](Norv::AlignedBuf& b) { b.put(0x01020304u); }},
        {"put(-1) (an int, as its 32 bits)", [](Norv::AlignedBuf& b) { b.put(static_cast<unsigned int>(-1)); }},
        {"put(true)", [](Norv::AlignedBuf& b) { b.put(true); }},
        {"put(false)", [](Norv::AlignedBuf& b) { b.put(false); }},
        {"put(1.0)", [](Norv::AlignedBuf& b) { b.put(1.0); }},
        {"put(\"abcde\", 5)", text("abcde")},
        {"put(\"abcd\", 4)", text("abcd")},
        {"put(\"\", 0)", text("")},
    };
    std::string listing;
    for (const Item& item : items) {
        Norv::AlignedBuf buf;
        item.put(buf);
        std::string line = item.call;
        line.resize(36, ' ');
        char hex[4];
        for (std::size_t i = 0; i < buf.bytes().size(); ++i) {
            std::snprintf(hex, sizeof hex, "%02x", buf.bytes()[i]);
            line += (i == 0 ? "" : " ") + std::string(hex);
        }
        listing += line + "\n";
    }
    return listing;
}

}  // namespace

TEST(Readme, OpensWithTheTwoCommands) {
    const auto& blocks = readmeBlocks();
    ASSERT_FALSE(blocks.empty());
    const Block& first = blocks.front();
    EXPECT_TRUE(first.fenced);
    EXPECT_EQ(first.marker, "make targets");
    ASSERT_EQ(first.lines.size(), 2u);
    EXPECT_EQ(first.lines[0].compare(0, 10, "make demo "), 0) << first.lines[0];
    EXPECT_EQ(first.lines[1].compare(0, 10, "make test "), 0) << first.lines[1];
    const std::vector<std::string> readme = linesOf(slurp(source("README.md")));
    // Only the title comes before the commands.
    for (int i = 0; i < first.startLine - 2; ++i) {
        EXPECT_TRUE(readme[i].empty() || readme[i][0] == '#' || readme[i].compare(0, 4, "<!--") == 0)
            << "line " << i + 1 << ": " << readme[i];
    }
}

TEST(Readme, EveryBlockSaysHowItIsKeptTrue) {
    static const std::regex known(
        R"(^(make targets|from [^ ]+|AlignedBuf layout|folders|output of norvext-dump (--help|--list-types))$)");
    for (const Block& block : readmeBlocks()) {
        EXPECT_TRUE(std::regex_match(block.marker, known))
            << "README.md line " << block.startLine << ": marker '" << block.marker << "'";
    }
}

TEST(Readme, EveryMarkerStandsBeforeABlock) {
    const std::vector<std::string> lines = linesOf(slurp(source("README.md")));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, 5, "<!-- ") != 0) {
            continue;
        }
        std::size_t next = i + 1;
        while (next < lines.size() && lines[next].empty()) {
            ++next;
        }
        const bool block = next < lines.size() && (lines[next].compare(0, 3, "```") == 0 || lines[next][0] == '|');
        EXPECT_TRUE(block) << "README.md line " << i + 1 << ": no code block or table after " << lines[i];
    }
}

TEST(Readme, ShellCommandsAreMakeTargets) {
    const std::set<std::string> targets = makeTargets();
    ASSERT_TRUE(targets.count("demo") && targets.count("test")) << "Makefile rules not found";
    static const std::regex command(R"(^make ([A-Za-z][A-Za-z0-9_-]*)( [A-Z_]+=[^ ]+)*$)");
    int commands = 0;
    for (const Block& block : readmeBlocks()) {
        if (block.marker != "make targets") {
            continue;
        }
        for (std::string line : block.lines) {
            line = line.substr(0, line.find('#'));
            line.erase(line.find_last_not_of(' ') + 1);
            if (line.empty()) {
                continue;
            }
            std::smatch match;
            ASSERT_TRUE(std::regex_match(line, match, command))
                << "README.md line " << block.startLine << ": not a make command: " << line;
            EXPECT_TRUE(targets.count(match[1])) << "no Makefile target " << match[1];
            ++commands;
        }
    }
    EXPECT_GT(commands, 2);
}

TEST(Readme, QuotedTextStandsInItsFile) {
    int quoted = 0;
    for (const Block& block : readmeBlocks()) {
        if (block.marker.compare(0, 5, "from ") != 0) {
            continue;
        }
        const std::string path = block.marker.substr(5);
        const std::string file = slurp(source(path));
        ASSERT_FALSE(file.empty()) << "README.md line " << block.startLine << ": cannot read " << path;
        EXPECT_NE(file.find(block.text()), std::string::npos)
            << "README.md line " << block.startLine << ": this text is not in " << path << ":\n"
            << block.text();
        ++quoted;
    }
    EXPECT_GT(quoted, 3);
}

TEST(Readme, LayoutListingIsWhatTheBufferWrites) {
    int listings = 0;
    for (const Block& block : readmeBlocks()) {
        if (block.marker == "AlignedBuf layout") {
            EXPECT_EQ(block.text(), layoutListing()) << "README.md line " << block.startLine;
            ++listings;
        }
    }
    EXPECT_EQ(listings, 1);
}

TEST(Readme, FoldersOfTheLayoutTableExist) {
    static const std::regex folder("`([a-z/]+/)`");
    int folders = 0;
    for (const Block& block : readmeBlocks()) {
        if (block.marker != "folders") {
            continue;
        }
        for (std::size_t i = 2; i < block.lines.size(); ++i) {  // past the header and its rule
            const std::string cell = block.lines[i].substr(0, block.lines[i].find('|', 1));
            for (std::sregex_iterator it(cell.begin(), cell.end(), folder), end; it != end; ++it) {
                const std::string path = (*it)[1];
                EXPECT_TRUE(std::filesystem::is_directory(source(path))) << "no folder " << path;
                ++folders;
            }
        }
    }
    EXPECT_GT(folders, 5);
}
