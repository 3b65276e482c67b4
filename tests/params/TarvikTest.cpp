#include <norvext/params/Tarvik.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using Norv::Tarvik;

namespace {
int score(char a, char b) {
    return Tarvik::defaultMatrix()[static_cast<unsigned char>(a)][static_cast<unsigned char>(b)];
}
}  // namespace

// Every entry of the 24 letters is MatchesThePublishedTable's; the rest of
// the 128 x 128 table scores -1000.
TEST(Tarvik, UnscoredPairsAndSymmetry) {
    for (const char* pair : {"aa", "JA", "U*", "\x7f\x7f", "a*"}) {
        EXPECT_EQ(score(pair[0], pair[1]), -1000) << pair;
    }
    EXPECT_EQ(score('\0', '\0'), -1000);
    int scored = 0;
    for (int r = 0; r < 128; ++r) {
        for (int c = 0; c < 128; ++c) {
            scored += Tarvik::defaultMatrix()[r][c] != -1000;
            ASSERT_EQ(Tarvik::defaultMatrix()[r][c], Tarvik::defaultMatrix()[c][r]) << r << ", " << c;
        }
    }
    EXPECT_EQ(scored, 24 * 24);
}

// Compares every entry with the published table of EMBOSS (emboss-data).
TEST(Tarvik, MatchesThePublishedTable) {
    std::ifstream file("/usr/share/EMBOSS/data/EBLOSUM62");
    ASSERT_TRUE(file) << "EBLOSUM62 is missing: make deps installs emboss-data";
    std::string line, columns;  // the letters of the first line that is not a comment
    int rows = 0;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        char row = '#';
        if (!(fields >> row) || row == '#') {
            continue;
        }
        if (columns.empty()) {
            for (columns = row; fields >> row;) {
                columns += row;
            }
            continue;
        }
        for (char column : columns) {
            int value;
            fields >> value;
            ASSERT_EQ(score(row, column), value) << row << column;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 24);
}

TEST(Tarvik, ConcurrentFirstUseSeesOneFilledTable) {
    // Meaningful under ThreadSanitizer, which runs this program in a fresh
    // process: the threads below race for the first fill.
    std::vector<int> seen(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&seen, i] { seen[i] = score('W', 'W') + score('a', 'a'); });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(seen, std::vector<int>(8, 11 - 1000));
}
