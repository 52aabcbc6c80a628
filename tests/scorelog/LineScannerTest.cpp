#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "scorelog/LineScanner.h"
#include "support/TestSupport.h"

namespace obrenta::scorelog {
namespace {

// The hand-written scans must assign what the C library's sscanf assigns with the same format,
// on well-formed lines and on damaged ones alike. Lines are built at random from the pieces the
// formats care about.
std::vector<std::string> RandomLines(unsigned seed, int count) {
    static const std::vector<std::string> pieces = {" ",
                                                    "  ",
                                                    "\t",
                                                    "\n",
                                                    "\r",
                                                    "\v",
                                                    "\f",
                                                    "[1]",
                                                    "[2]",
                                                    "[3]",
                                                    "[4]",
                                                    "[",
                                                    "]",
                                                    "1",
                                                    "2",
                                                    "R1712",
                                                    "R-5",
                                                    "-",
                                                    "+",
                                                    "0",
                                                    "07",
                                                    "12",
                                                    "2024",
                                                    "999999999999",
                                                    "4294967296",
                                                    "-2147483649",
                                                    "99999999999999999999999",
                                                    "x",
                                                    "\x88\xca" /* 位 */,
                                                    "\x8e\x9d\x93\x5f" /* 持点 */,
                                                    "/",
                                                    ":",
                                                    "abc",
                                                    "\x83\x89\x83\x93",
                                                    "\xff",
                                                    "    "};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        const int n = static_cast<int>(random() % 14);
        for (int k = 0; k < n; ++k) line += pieces[random() % pieces.size()];
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SeatLines() {
    std::vector<std::string> lines = RandomLines(1, 4000);
    for (const std::string& extra :
         {std::string("    \x8e\x9d\x93\x5f"
                      "25000 [1]a R1 [2]b R2 [3]c R3 [4]d R4\n"),
          std::string("  x [1]a R1 [2]b R2 [3]c R3\n"), std::string("x[1]a R1"),
          std::string("x [1] a\tR1 [2]b"), std::string("x  [1]a[2]b R2"), std::string(""),
          std::string("x [1]a R1 [2]"), std::string("x [1]a R1 [2]b R2 [3]c R3 [4]d")}) {
        lines.push_back(extra);
    }
    // Lines shaped like seat lines with random damage.
    std::mt19937 random(7);
    const std::string good = "    P25000 [1]aa R1700 [2]bb R1800 [3]cc R1650 [4]dd R1500\n";
    for (int i = 0; i < 2000; ++i) {
        std::string line = good;
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % line.size();
            static const char kBytes[] = " \t\n[]1234R-x";
            if (random() % 2) {
                line.erase(at, 1);
            } else {
                line.insert(at, 1, kBytes[random() % (sizeof kBytes - 1)]);
            }
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(LineScannerTest, SeatLineMatchesSscanf) {
    for (const std::string& line : SeatLines()) {
        std::vector<std::vector<char>> buf(8, std::vector<char>(line.size() + 2, '\0'));
        int got = std::sscanf(line.c_str(), "%*s [1]%s %s [2]%s %s [3]%s %s [4]%s %s", buf[0].data(),
                              buf[1].data(), buf[2].data(), buf[3].data(), buf[4].data(), buf[5].data(),
                              buf[6].data(), buf[7].data());
        got = std::max(got, 0);
        const SeatLineScan scan = ScanSeatLine(line);
        ASSERT_EQ(scan.fields, got) << '"' << line << '"';
        for (int f = 0; f < got; ++f) {
            const std::string_view mine = f % 2 == 0 ? scan.names[f / 2] : scan.ratings[f / 2];
            ASSERT_EQ(mine, buf[f].data()) << '"' << line << "\" field " << f;
        }
    }
}

TEST(LineScannerTest, EntryLinesMatchSscanf) {
    OBRENTA_SKIP_ON_WINDOWS("the C runtime's sscanf and atoi overflow otherwise than glibc's, the reference");
    std::vector<std::string> lines = RandomLines(2, 6000);
    lines.push_back("  E1 0x a +8000 b -8000 c 100 d -100 e 5\n");
    lines.push_back("E1 a +8000\n");
    lines.push_back("E1 a +\n");
    for (int words : {1, 2}) {
        const char* format = words == 2 ? "%*s %*s %s %d %s %d %s %d %s %d" : "%*s %s %d %s %d %s %d %s %d";
        for (const std::string& line : lines) {
            std::vector<std::vector<char>> names(4, std::vector<char>(line.size() + 2, '\0'));
            int d[4] = {};
            int got = std::sscanf(line.c_str(), format, names[0].data(), &d[0], names[1].data(), &d[1],
                                  names[2].data(), &d[2], names[3].data(), &d[3]);
            got = std::max(got, 0);
            const EntryScan scan = ScanEntries(line, words);
            ASSERT_EQ(scan.fields, got) << '"' << line << '"';
            for (int f = 0; f < got; ++f) {
                if (f % 2 == 0) {
                    ASSERT_EQ(scan.names[f / 2], names[f / 2].data()) << '"' << line << '"';
                } else {
                    ASSERT_EQ(scan.deltas[f / 2], d[f / 2]) << '"' << line << '"';
                }
            }
        }
    }
}

TEST(LineScannerTest, ResultLinesMatchSscanf) {
    OBRENTA_SKIP_ON_WINDOWS("the C runtime's sscanf and atoi overflow otherwise than glibc's, the reference");
    std::vector<std::string> lines = RandomLines(3, 6000);
    lines.push_back("1\x88\xca Guest042 +25\n");
    lines.push_back(" 2\x88\xca\tkenji\t-3\n");
    lines.push_back("3\x88\xca kenji");
    lines.push_back("3 \x88\xca kenji 5");
    for (const std::string& line : lines) {
        std::vector<char> name(line.size() + 2, '\0');
        int rank = 0;
        int points = 0;
        int got = std::max(std::sscanf(line.c_str(), "%d\x88\xca %s %d", &rank, name.data(), &points), 0);
        std::int32_t myRank = 0;
        std::int32_t myPoints = 0;
        std::string_view myName;
        ASSERT_EQ(ScanResultLine(line, myRank, myName, myPoints), got) << '"' << line << '"';
        if (got >= 1) {
            ASSERT_EQ(myRank, rank);
        }
        if (got >= 2) {
            ASSERT_EQ(myName, name.data());
        }
        if (got >= 3) {
            ASSERT_EQ(myPoints, points);
        }
    }
}

TEST(LineScannerTest, DateTimeAndStartPointsMatchSscanf) {
    OBRENTA_SKIP_ON_WINDOWS("the C runtime's sscanf and atoi overflow otherwise than glibc's, the reference");
    std::vector<std::string> lines = RandomLines(4, 6000);
    for (const char* extra : {"2024/05/18 21:04 =====\n", "  24/5/8 9:4 -----\n", "2024/-5/+8 21:04",
                              "12345/05/18 21:04", "2024/05/1821:04", "2024/05/18 21: 4",
                              "    \x8e\x9d\x93\x5f"
                              "25000 [1]",
                              "\x8e\x9d\x93\x5f -3", "  \x8e\x9d\x93\x5f"}) {
        lines.push_back(extra);
    }
    for (const std::string& line : lines) {
        int f[5] = {};
        int got =
            std::max(std::sscanf(line.c_str(), "%4d/%2d/%2d %2d:%2d", &f[0], &f[1], &f[2], &f[3], &f[4]), 0);
        std::array<std::int32_t, 5> mine{};
        ASSERT_EQ(ScanDateTime(line, mine), got) << '"' << line << '"';
        for (int k = 0; k < got; ++k) ASSERT_EQ(mine[k], f[k]) << '"' << line << '"';

        int points = 0;
        got = std::max(std::sscanf(line.c_str(), "    \x8e\x9d\x93\x5f%d", &points), 0);
        std::int32_t myPoints = -77;
        ASSERT_EQ(ScanStartPoints(line, myPoints), got) << '"' << line << '"';
        if (got == 1) {
            ASSERT_EQ(myPoints, points);
        }
    }
}

TEST(LineScannerTest, AtoiMatchesTheCLibrary) {
    OBRENTA_SKIP_ON_WINDOWS("the C runtime's sscanf and atoi overflow otherwise than glibc's, the reference");
    std::vector<std::string> texts = RandomLines(5, 4000);
    for (const char* extra : {"-5", " \t+12x", "", "-", "2147483648", "-2147483649", "9223372036854775808",
                              "-9223372036854775809", "0007"}) {
        texts.push_back(extra);
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(AtoiLike(text), std::atoi(text.c_str())) << '"' << text << '"';
    }
    EXPECT_EQ(RatingFromToken("R-5"), -5);
    EXPECT_EQ(RatingFromToken("R"), 0);
    EXPECT_EQ(RatingFromToken(""), 0);
}

}  // namespace
}  // namespace obrenta::scorelog
