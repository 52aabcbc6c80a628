#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Cp932.h"
#include "base/Platform.h"
#include "scorelog/ScoreLog.h"
#include "tools/mjlog-gen/LogGenerator.h"

namespace obrenta::scorelog {
namespace {

using test::Sj;
using Blocks = std::vector<std::vector<std::string>>;
namespace fs = std::filesystem;

std::string ReadFixture(const std::string& name) {
    std::ifstream in(std::string(OBRENTA_TEST_DATA) + "/scorelog/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Game(const char* start, const char* end, const char* extraLines = "") {
    return Sj(std::string("===== 対局 上級 東風戦 開始 ") + start + " =====\n" +
              "    持点35000 [1]kenji R1850 [2]ぽん太 R1850 [3]Guest977 R1700\n"
              "  東1局 0本場(リーチ0) ぽん太 +24000 Guest977 -24000\n"
              "    役満ロン 国士無双\n" +
              extraLines +
              "  ---- 試合結果 ----\n"
              "1位 ぽん太 +52\n"
              "2位 kenji -8\n"
              "3位 Guest977 -44\n"
              "  終了 " +
              end + " -----\n");
}

// ---- cutting the bytes into blocks and lines ----

TEST(SplitLogBlocksTest, EmptyFileHasNoBlock) {
    EXPECT_TRUE(SplitLogBlocks("").empty());
}

TEST(SplitLogBlocksTest, FileWithoutSeparatorIsOneBlock) {
    EXPECT_EQ(SplitLogBlocks("a\nb\nc\n"), (Blocks{{"a\n", "b\n", "c\n"}}));
}

TEST(SplitLogBlocksTest, SeparatorLineStartsTheNextBlock) {
    EXPECT_EQ(SplitLogBlocks("a\nx=====y\nb\n====\nc=====\n"),
              (Blocks{{"a\n"}, {"x=====y\n", "b\n", "====\n"}, {"c=====\n"}}));
}

TEST(SplitLogBlocksTest, CrLfReadsAsLfAndALoneCrStays) {
    EXPECT_EQ(SplitLogBlocks("a\r\nb\rc\r\n\r\r\n\r\n"), (Blocks{{"a\n", "b\rc\n", "\r\n", "\n"}}));
}

TEST(SplitLogBlocksTest, UnterminatedLastLineIsLost) {
    EXPECT_EQ(SplitLogBlocks("a\nb"), (Blocks{{"a\n"}}));
    EXPECT_EQ(SplitLogBlocks("a\n====="), (Blocks{{"a\n"}}));
    EXPECT_EQ(SplitLogBlocks("a\r\nb\r"), (Blocks{{"a\n"}}));
    EXPECT_TRUE(SplitLogBlocks("only").empty());
}

TEST(SplitLogBlocksTest, LongLinesComeIn255BytePieces) {
    const std::string line300(300, 'x');
    EXPECT_EQ(SplitLogBlocks(line300 + "\n"), (Blocks{{std::string(255, 'x'), std::string(45, 'x') + "\n"}}));
    const std::string line255(255, 'y');
    EXPECT_EQ(SplitLogBlocks(line255 + "\r\nz\n"), (Blocks{{line255, "\n", "z\n"}}));
    const std::string line254(254, 'w');
    EXPECT_EQ(SplitLogBlocks(line254 + "\r\n"), (Blocks{{line254 + "\n"}}));
}

TEST(SplitLogBlocksTest, UnterminatedPiecesThatFillTheBufferAreKept) {
    // A piece that fills the line buffer is read without meeting the end of the file.
    EXPECT_EQ(SplitLogBlocks("a\n" + std::string(255, 'x')), (Blocks{{"a\n", std::string(255, 'x')}}));
    EXPECT_EQ(SplitLogBlocks("a\n" + std::string(256, 'x')), (Blocks{{"a\n", std::string(255, 'x')}}));
    EXPECT_EQ(SplitLogBlocks(std::string(510, 'x')),
              (Blocks{{std::string(255, 'x'), std::string(255, 'x')}}));
}

TEST(SplitLogBlocksTest, LineEndsAtItsFirstNulByte) {
    using namespace std::string_literals;
    EXPECT_EQ(SplitLogBlocks("a\0b\nc\0=====\n=====\0\nd\n"s), (Blocks{{"a", "c"}, {"=====", "d\n"}}));
    // The bytes after the NUL still count toward the 255-byte piece.
    const std::string line = "q\0"s + std::string(300, 'r') + "\n";
    EXPECT_EQ(SplitLogBlocks(line), (Blocks{{"q", std::string(47, 'r') + "\n"}}));
}

TEST(SplitLogBlocksTest, BlocksOfMoreThan1024LinesAreDropped) {
    std::string bytes = "=====\n";
    for (int i = 0; i < 1023; ++i) bytes += "l\n";
    bytes += "=====\n";
    for (int i = 0; i < 1024; ++i) bytes += "m\n";
    bytes += "=====\nlast\n";
    const Blocks blocks = SplitLogBlocks(bytes);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 1024u);
    EXPECT_EQ(blocks[1], (std::vector<std::string>{"=====\n", "last\n"}));
}

// The reader takes the file in chunks; where the chunks end must not change a single line.
TEST(SplitLogBlocksTest, ChunkBoundariesChangeNothing) {
    using namespace std::string_literals;
    static const std::string pieces[] = {"\n",
                                         "\r\n",
                                         "\r",
                                         "\0"s,
                                         "=====",
                                         "==",
                                         "a",
                                         "xyz ",
                                         std::string(100, 'l'),
                                         std::string(254, 'm'),
                                         std::string(255, 'n'),
                                         std::string(256, 'o')};
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int n = static_cast<int>(random() % 60);
        for (int k = 0; k < n; ++k) bytes += pieces[random() % std::size(pieces)];
        const Blocks whole = SplitLogBlocks(bytes);
        for (std::size_t chunk : {1u, 2u, 3u, 7u, 64u, 255u, 256u, 257u, 600u}) {
            ASSERT_EQ(SplitLogBlocks(bytes, chunk), whole) << "round " << round << " chunk " << chunk;
        }
    }
}

// ---- whole logs ----

std::vector<GameRecord> Parse(const std::string& bytes) {
    ScoreLog log;
    log.ParseBuffer(bytes);
    return log.games();
}

void ExpectSameGames(const std::vector<GameRecord>& a, const std::vector<GameRecord>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t g = 0; g < a.size(); ++g) {
        EXPECT_EQ(a[g].startTime, b[g].startTime);
        EXPECT_EQ(a[g].endTime, b[g].endTime);
        EXPECT_EQ(a[g].playerCount, b[g].playerCount);
        EXPECT_EQ(a[g].tableKind, b[g].tableKind);
        EXPECT_EQ(a[g].handCount, b[g].handCount);
        for (int k = 0; k < a[g].playerCount; ++k) {
            EXPECT_EQ(a[g].SeatName(k), b[g].SeatName(k));
            EXPECT_EQ(a[g].seats[k].rating, b[g].seats[k].rating);
            EXPECT_EQ(a[g].seats[k].rank, b[g].seats[k].rank);
            EXPECT_EQ(a[g].seats[k].points, b[g].seats[k].points);
        }
        for (int h = 0; h < a[g].handCount; ++h) {
            const HandRecord& x = a[g].Hands()[h];
            const HandRecord& y = b[g].Hands()[h];
            EXPECT_EQ(x.kind, y.kind);
            EXPECT_EQ(x.hanClass, y.hanClass);
            EXPECT_EQ(x.entryDeltas, y.entryDeltas);
            ASSERT_EQ(x.yaku.size(), y.yaku.size());
            for (std::size_t i = 0; i < x.yaku.size(); ++i) {
                EXPECT_EQ(a[g].Name(x.yaku[i]), b[g].Name(y.yaku[i]));
            }
        }
    }
}

TEST(ScoreLogTest, ExampleLog) {
    const auto games = Parse(ReadFixture("example.txt"));
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].handCount, 6);
    EXPECT_EQ(games[0].tableKind, TableKind::Ranking);
    EXPECT_EQ(games[1].playerCount, 3);
    EXPECT_EQ(games[0].Hands()[3].hanClass, HanClass::Haneman);
    EXPECT_EQ(games[0].Hands()[4].kind, HandKind::NineTerminals);
    // Names of one read are interned once for all games.
    EXPECT_EQ(games[0].names, games[1].names);
    EXPECT_EQ(games[0].seats[1].name, games[1].seats[0].name);
}

TEST(ScoreLogTest, CrLfLogParsesLikeLfLog) {
    ExpectSameGames(Parse(ReadFixture("example-crlf.txt")), Parse(ReadFixture("example.txt")));
}

class RejectedBlockFileTest : public ::testing::TestWithParam<const char*> {};

// Each file holds a good game, a faulty block and the good game again.
TEST_P(RejectedBlockFileTest, OnlyTheFaultyBlockIsSkipped) {
    const auto games = Parse(ReadFixture(GetParam()));
    ASSERT_EQ(games.size(), 2u);
    const auto example = Parse(ReadFixture("example.txt"));
    ExpectSameGames(games, example);
}

INSTANTIATE_TEST_SUITE_P(Fixture, RejectedBlockFileTest,
                         ::testing::Values("rank-out-of-range.txt", "header-too-short.txt",
                                           "header-undated.txt", "end-line-undated.txt",
                                           "ends-in-result-section.txt", "result-line-unscanned.txt",
                                           "result-name-unknown.txt", "seat-named-twice.txt",
                                           "result-header-trailing-blank.txt"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name = name.substr(0, name.find('.'));
                             std::string out;
                             bool upper = true;
                             for (char c : name) {
                                 if (c == '-') {
                                     upper = true;
                                 } else {
                                     out += upper ? static_cast<char>(c - 'a' + 'A') : c;
                                     upper = false;
                                 }
                             }
                             return out;
                         });

TEST(ScoreLogTest, LogWithoutFinalNewlineLosesItsEndLine) {
    std::string bytes = ReadFixture("example.txt");
    ASSERT_EQ(bytes.back(), '\n');
    bytes.pop_back();
    const auto games = Parse(bytes);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].playerCount, 4);
}

TEST(ScoreLogTest, BlockLineLimit) {
    std::string filler;
    // The game block has 9 lines of its own.
    for (int i = 0; i < 1024 - 9; ++i) filler += "    .\n";
    const std::string fits = Game("2024/05/18 22:10", "2024/05/18 22:31", filler.c_str());
    const std::string tooLong = Game("2024/05/19 22:10", "2024/05/19 22:31", (filler + "    .\n").c_str());
    const auto games = Parse(fits + tooLong + Game("2024/05/20 22:10", "2024/05/20 22:31"));
    ASSERT_EQ(games.size(), 2u);
    EXPECT_LT(games[0].startTime, games[1].startTime);
    EXPECT_EQ(games[1].startTime - games[0].startTime, 2 * 86400);
}

TEST(ScoreLogTest, LongResultLineIsCutAfter255Bytes) {
    std::string yaku = " x";
    for (int i = 0; i < 40; ++i) yaku += " yaku" + std::to_string(i);
    const std::string resultLine = Sj("    役満ロン") + yaku + "\n";
    ASSERT_GT(resultLine.size(), 255u);
    std::string bytes = Game("2024/05/18 22:10", "2024/05/18 22:31");
    const std::string original = Sj("    役満ロン 国士無双\n");
    bytes.replace(bytes.find(original), original.size(), resultLine);
    const auto games = Parse(bytes);
    ASSERT_EQ(games.size(), 1u);
    const HandRecord& hand = games[0].Hands()[0];
    std::string kept;
    for (NameId id : hand.yaku) kept += " " + std::string(games[0].Name(id));
    const std::size_t keyEnd = Sj("    役満ロン").size();
    std::string firstPiece = resultLine.substr(keyEnd, 255 - keyEnd);
    while (firstPiece.back() == ' ') firstPiece.pop_back();
    EXPECT_EQ(kept, firstPiece);
    // The 255-byte piece ends inside a yaku name.
    EXPECT_EQ(games[0].Name(hand.yaku.back()), "yaku3");
}

TEST(ScoreLogTest, DatesAfter2038) {
    const auto games = Parse(Game("2039/01/19 12:14", "2039/01/19 12:50"));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_GT(games[0].startTime, std::int64_t{0x7fffffff});
    EXPECT_EQ(games[0].GameSeconds(), 36 * 60);
}

TEST(ScoreLogTest, CopiedGameOutlivesTheLog) {
    std::optional<GameRecord> copy;
    {
        ScoreLog log;
        log.ParseBuffer(ReadFixture("example.txt"));
        copy = log.games()[0];
        log.ParseBuffer("");
        EXPECT_TRUE(log.games().empty());
    }
    ASSERT_EQ(copy->Hands().size(), 6u);
    EXPECT_EQ(copy->Name(copy->Hands()[0].yaku[0]), Sj("立直"));
    EXPECT_EQ(copy->FindSeatByName("kenji"), 1);
}

// Damaged logs (bytes dropped, inserted or changed) must never be read past their end, and
// every game that is accepted must keep the record's invariants.
TEST(ScoreLogTest, DamagedLogsKeepGamesConsistent) {
    const std::string example = ReadFixture("example.txt") + ReadFixture("example-crlf.txt");
    std::mt19937 random(42);
    static const char kBytes[] = "\0\r\n =-0123456789[]R\x88\xca\x8b\xc7\x95\x84";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = example;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 3) {
                case 0:
                    bytes.erase(at, 1 + random() % 40);
                    break;
                case 1:
                    bytes.insert(at, 1, kBytes[random() % (sizeof kBytes - 1)]);
                    break;
                default:
                    bytes[at] = kBytes[random() % (sizeof kBytes - 1)];
                    break;
            }
            if (bytes.empty()) bytes = "\n";
        }
        for (const GameRecord& game : Parse(bytes)) {
            ASSERT_TRUE(game.playerCount == 3 || game.playerCount == 4);
            ASSERT_EQ(game.handCount, static_cast<std::int32_t>(game.Hands().size()));
            for (int k = 0; k < game.playerCount; ++k) {
                ASSERT_GE(game.seats[k].rank, 1);
                ASSERT_LE(game.seats[k].rank, 4);
                ASSERT_GE(game.seats[k].ratingRank, 1);
                ASSERT_LE(game.seats[k].ratingRank, game.playerCount);
                ASSERT_FALSE(game.SeatName(k).empty());
                ASSERT_LE(game.SeatName(k).size(), kMaxNameBytes);
            }
            for (const HandRecord& hand : game.Hands()) {
                ASSERT_GE(hand.entryCount, 0);
                ASSERT_LE(hand.entryCount, 4);
                for (NameId yaku : hand.yaku) {
                    ASSERT_EQ(game.Name(yaku).find_first_of(" \n"), std::string_view::npos);
                }
                if (!hand.IsWin()) {
                    ASSERT_TRUE(hand.yaku.empty());
                }
            }
        }
    }
}

// ---- reading in ranges ----

// A generated log with lines the client never writes: long ones, NUL bytes, lone CRs.
std::string RandomLog(std::mt19937& random, int maxGames = 12) {
    tools::GeneratorOptions options;
    options.seed = random();
    options.games = 1 + static_cast<int>(random() % maxGames);
    options.crlf = random() % 2 == 0;
    std::string bytes = tools::GenerateLog(options);
    using namespace std::string_literals;
    static const std::string kOdd[] = {std::string(300, 'x') + "=====\n",
                                       "=====" + std::string(260, 'y') + "\n", "a\0=====\n"s, "\r=====\r\n",
                                       "z"};
    for (int e = static_cast<int>(random() % 4); e > 0; --e) {
        bytes.insert(random() % bytes.size(), kOdd[random() % std::size(kOdd)]);
    }
    return bytes;
}

// Where a cut most easily goes wrong: between CR and LF, after a lead byte, inside a long line.
std::vector<std::uint64_t> AwkwardOffsets(std::string_view bytes) {
    std::vector<std::uint64_t> offsets;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        if (bytes[i - 1] == '\r' || static_cast<unsigned char>(bytes[i - 1]) >= 0x81 ||
            bytes[i - 1] == bytes[i]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

// Every value of every game, names by id: a read gives the names the ids of one parse in one go.
void ExpectIdentical(const std::vector<GameRecord>& a, const std::vector<GameRecord>& b) {
    ASSERT_EQ(a.size(), b.size());
    if (a.empty()) return;
    ASSERT_EQ(a[0].names->Size(), b[0].names->Size());
    for (NameId id = 0; id < a[0].names->Size(); ++id) ASSERT_EQ(a[0].Name(id), b[0].Name(id));
    for (std::size_t g = 0; g < a.size(); ++g) {
        ASSERT_EQ(a[g].names, a[0].names);
        ASSERT_EQ(b[g].names, b[0].names);
        ASSERT_EQ(std::tie(a[g].playerCount, a[g].eastSouth, a[g].tableKind, a[g].handCount, a[g].startPoints,
                           a[g].startTime, a[g].endTime),
                  std::tie(b[g].playerCount, b[g].eastSouth, b[g].tableKind, b[g].handCount, b[g].startPoints,
                           b[g].startTime, b[g].endTime));
        for (int k = 0; k < 4; ++k) {
            const SeatResult& x = a[g].seats[k];
            const SeatResult& y = b[g].seats[k];
            ASSERT_EQ(std::tie(x.name, x.rating, x.points, x.rank, x.ratingRank),
                      std::tie(y.name, y.rating, y.points, y.rank, y.ratingRank));
        }
        ASSERT_EQ(a[g].Hands().size(), b[g].Hands().size());
        for (std::size_t h = 0; h < a[g].Hands().size(); ++h) {
            const HandRecord& x = a[g].Hands()[h];
            const HandRecord& y = b[g].Hands()[h];
            ASSERT_EQ(
                std::tie(x.entryCount, x.entryNames, x.entrySeats, x.entryDeltas, x.kind, x.hanClass, x.yaku),
                std::tie(y.entryCount, y.entryNames, y.entrySeats, y.entryDeltas, y.kind, y.hanClass,
                         y.yaku));
        }
    }
}

std::vector<GameRecord> ParseInOneRange(std::string_view bytes) {
    ScoreLog log;
    log.ParseBuffer(bytes, {});
    return log.games();
}

// Ranges begin at block starts, wherever the split was aimed: the games are those of one range.
TEST(ScoreLogRangesTest, EverySplitGivesTheGamesOfOneRange) {
    std::mt19937 random(7);
    const std::string small = RandomLog(random, 3);
    const auto one = ParseInOneRange(small);
    for (std::uint64_t at = 0; at <= small.size(); ++at) {
        const std::uint64_t targets[] = {at};
        std::vector<GameRecord> copies;
        std::vector<GameRecord> last;
        {
            ScoreLog split;
            split.ParseBuffer(small, targets);
            copies = split.games();
            last.push_back(split.games().back());
        }
        // The copies keep their hands and yaku once the log and the last range's other games are gone.
        ASSERT_NO_FATAL_FAILURE(ExpectIdentical(copies, one)) << "split at " << at;
        copies.clear();
        ASSERT_NO_FATAL_FAILURE(ExpectIdentical(last, {one.back()})) << "split at " << at;
    }
    for (int round = 0; round < 150; ++round) {
        const std::string bytes = RandomLog(random);
        const auto whole = ParseInOneRange(bytes);
        const auto awkward = AwkwardOffsets(bytes);
        for (int ranges = 2; ranges <= 6; ++ranges) {
            std::vector<std::uint64_t> targets;
            for (int k = 1; k < ranges; ++k) {
                targets.push_back(k % 2 == 1 ? awkward[random() % awkward.size()] : random() % bytes.size());
            }
            std::sort(targets.begin(), targets.end());
            ScoreLog split;
            split.ParseBuffer(bytes, targets);
            ASSERT_NO_FATAL_FAILURE(ExpectIdentical(split.games(), whole)) << "round " << round;
        }
    }
}

// ---- reading the file ----

class ScoreLogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.emplace("scorelog");
        dir_ = temp_->Path();
    }
    void TearDown() override { temp_.reset(); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void Write(const std::string& path, const std::string& bytes,
                      std::optional<timespec> mtime = std::nullopt) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        if (mtime) SetModified(path, *mtime);
    }
    static void Append(const std::string& path, std::string_view bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << bytes;
    }
    static void SetModified(const std::string& path, timespec mtime) {
        obrenta::test::SetModifiedTime(path, mtime.tv_sec, mtime.tv_nsec);
    }

    std::optional<obrenta::test::TempDir> temp_;
    fs::path dir_;
    const std::string one_ = Game("2024/05/18 22:10", "2024/05/18 22:31");
    const std::string two_ = one_ + Game("2024/05/19 22:10", "2024/05/19 22:31");
};

TEST_F(ScoreLogFileTest, LogInAFolderNamedInJapanese) {
    const std::string folder = dir_.string() + "/" + Sj("成績表");
    fs::create_directory(obrenta::base::NativePath(folder));
    obrenta::test::WriteBytes(folder + "/" + Sj("表.txt"), two_);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(folder + "/" + Sj("表.txt")));
    EXPECT_EQ(log.games().size(), 2u);
}

// The game client keeps its log open for writing (on Windows sharing it for reading only).
TEST_F(ScoreLogFileTest, LogHeldOpenForWritingIsRead) {
    const std::string path = PathOf("mjscore.txt");
    Write(path, one_);
    obrenta::test::OpenForWriting writer(path);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 1u);
    writer.Append(two_.substr(one_.size()));
    ASSERT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 2u);
}

TEST_F(ScoreLogFileTest, MissingFileFailsAndReadsNothing) {
    ScoreLog log;
    EXPECT_FALSE(log.ReadScoreLog(PathOf("missing.txt")));
    EXPECT_TRUE(log.games().empty());
    EXPECT_EQ(log.readCount(), 0u);
}

TEST_F(ScoreLogFileTest, EmptyFileGivesNoGames) {
    Write(PathOf("empty.txt"), "");
    ScoreLog log;
    log.ParseBuffer(one_);
    EXPECT_TRUE(log.ReadScoreLog(PathOf("empty.txt")));
    EXPECT_TRUE(log.games().empty());
}

TEST_F(ScoreLogFileTest, UnchangedFileIsReadOnce) {
    const std::string path = PathOf("mjscore.txt");
    Write(path, two_, timespec{1700000000, 500});
    ScoreLog log;
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.readCount(), 1u);
    EXPECT_EQ(log.games().size(), 2u);

    // The same bytes with a new time are read again, even within the same second.
    SetModified(path, timespec{1700000000, 600});
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.readCount(), 2u);
}

TEST_F(ScoreLogFileTest, SameTimeDifferentSizeIsReadAgain) {
    const std::string path = PathOf("mjscore.txt");
    const timespec t{1700000000, 0};
    Write(path, one_, t);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    ASSERT_EQ(log.games().size(), 1u);
    Write(path, two_, t);
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.readCount(), 2u);
    EXPECT_EQ(log.games().size(), 2u);
}

TEST_F(ScoreLogFileTest, DifferentPathSameTimeAndSizeIsReadAgain) {
    const timespec t{1700000000, 0};
    const std::string other = Game("2024/06/01 10:00", "2024/06/01 10:30");
    ASSERT_EQ(other.size(), one_.size());
    Write(PathOf("a.txt"), one_, t);
    Write(PathOf("b.txt"), other, t);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(PathOf("a.txt")));
    const std::int64_t first = log.games().at(0).startTime;
    EXPECT_TRUE(log.ReadScoreLog(PathOf("b.txt")));
    EXPECT_EQ(log.readCount(), 2u);
    ASSERT_EQ(log.games().size(), 1u);
    EXPECT_NE(log.games()[0].startTime, first);
}

TEST_F(ScoreLogFileTest, FailedReadKeepsGamesAndTheRememberedFile) {
    const std::string path = PathOf("mjscore.txt");
    const timespec t{1700000000, 0};
    Write(path, two_, t);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));

    // A directory in the log's place can be queried and opened but not read.
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_FALSE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 2u);
    fs::remove(path);
    EXPECT_FALSE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 2u);

    // Back as it was at the last successful read: nothing to read again.
    Write(path, two_, t);
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.readCount(), 1u);

    // A changed file after a failure is read at the next call.
    fs::remove(path);
    EXPECT_FALSE(log.ReadScoreLog(path));
    Write(path, one_, timespec{1700000100, 0});
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.readCount(), 2u);
    EXPECT_EQ(log.games().size(), 1u);
}

TEST_F(ScoreLogFileTest, ParsedBufferIsReplacedByTheNextRead) {
    const std::string path = PathOf("mjscore.txt");
    Write(path, two_, timespec{1700000000, 0});
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(path));
    log.ParseBuffer(one_);
    EXPECT_EQ(log.games().size(), 1u);
    EXPECT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.games().size(), 2u);
}

TEST_F(ScoreLogFileTest, LogLargerThanOneReadChunk) {
    std::string bytes;
    int count = 0;
    for (int day = 1; bytes.size() < 3 * kReadChunkBytes; ++day, ++count) {
        std::tm tm{};
        tm.tm_year = 100;
        tm.tm_mday = day;
        const std::time_t t = timegm(&tm);
        gmtime_r(&t, &tm);
        char start[32];
        char end[32];
        std::strftime(start, sizeof start, "%Y/%m/%d 22:10", &tm);
        std::strftime(end, sizeof end, "%Y/%m/%d 22:31", &tm);
        bytes += Game(start, end);
    }
    Write(PathOf("large.txt"), bytes);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(PathOf("large.txt")));
    ASSERT_EQ(log.games().size(), static_cast<std::size_t>(count));
    for (std::size_t g = 1; g < log.games().size(); ++g) {
        ASSERT_EQ(log.games()[g].startTime - log.games()[g - 1].startTime, 86400) << g;
        ASSERT_EQ(log.games()[g].GameSeconds(), 21 * 60);
    }
}

TEST_F(ScoreLogFileTest, FileAndBufferGiveTheSameGames) {
    const std::string bytes = ReadFixture("example-crlf.txt");
    Write(PathOf("crlf.txt"), bytes);
    ScoreLog log;
    ASSERT_TRUE(log.ReadScoreLog(PathOf("crlf.txt")));
    ExpectSameGames(log.games(), Parse(ReadFixture("example.txt")));
}

// A log read as it grows, cut anywhere (inside a line, a CR LF pair, a character), holds the
// games of the whole file read at once after every read.
TEST_F(ScoreLogFileTest, AppendedBytesReadAsTheWholeFile) {
    std::mt19937 random(5);
    std::uint64_t reads = 0;
    ScoreLog log;
    std::string path;
    for (int round = 0; round < 120; ++round) {
        path = PathOf("grows" + std::to_string(round) + ".txt");
        const std::string bytes = RandomLog(random);
        const auto awkward = AwkwardOffsets(bytes);
        std::vector<std::size_t> cuts = {awkward[random() % awkward.size()], random() % bytes.size(),
                                         random() % bytes.size(), bytes.size()};
        std::sort(cuts.begin(), cuts.end());
        std::size_t done = 0;
        for (std::size_t cut : cuts) {
            Append(path, std::string_view(bytes).substr(done, cut - done));
            done = cut;
            ASSERT_TRUE(log.ReadScoreLog(path));
            ASSERT_NO_FATAL_FAILURE(ExpectIdentical(log.games(), ParseInOneRange(bytes.substr(0, cut))))
                << "round " << round << " cut " << cut;
        }
        reads += cuts.size();
    }
    // Most reads went on from the last block read.
    EXPECT_GT(log.appendReadCount(), reads / 2);

    // Appended in several ranges at once.
    Write(path, one_);
    ASSERT_TRUE(log.ReadScoreLog(path));
    tools::GeneratorOptions options;
    options.sizeBytes = 5 << 20;
    const std::string large = tools::GenerateLog(options);
    Append(path, large);
    const std::uint64_t appended = log.appendReadCount();
    ASSERT_TRUE(log.ReadScoreLog(path));
    EXPECT_EQ(log.appendReadCount(), appended + 1);
    ExpectIdentical(log.games(), ParseInOneRange(one_ + large));
}

// Anything but growth behind unchanged bytes reads the whole file.
TEST_F(ScoreLogFileTest, OnlyAGrownFileIsReadFromItsLastBlock) {
    const std::string three = two_ + Game("2024/05/20 22:10", "2024/05/20 22:31");
    std::string changed = three;
    changed[one_.size() + 3] = 'x';
    struct Row {
        std::string before, after;
        bool replace;
        std::uint64_t appendReads;
    };
    const Row rows[] = {
        {two_, three, false, 1}, {two_, changed, false, 0}, {three, two_, false, 0}, {two_, three, true, 0}};
    for (const Row& row : rows) {
        const std::string path = PathOf("mjscore.txt");
        Write(path, row.before);
        ScoreLog log;
        ASSERT_TRUE(log.ReadScoreLog(path));
        if (row.replace) {
            Write(PathOf("new.txt"), row.after);
            fs::rename(PathOf("new.txt"), path);
        } else {
            Write(path, row.after);
        }
        ASSERT_TRUE(log.ReadScoreLog(path));
        EXPECT_EQ(log.appendReadCount(), row.appendReads);
        ExpectIdentical(log.games(), ParseInOneRange(row.after));
    }
}

}  // namespace
}  // namespace obrenta::scorelog
