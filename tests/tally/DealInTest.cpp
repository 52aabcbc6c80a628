#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

const std::string kRiichi = "\x97\xA7\x92\xBC";  // 立直
const std::string kDora1 =
    "\x83\x68\x83\x89"
    "1";  // ドラ1
using K = HandKind;

std::string Rows(const DealInBreakdown& b, bool own) {
    std::string out;
    for (const DealInLine& line : b.lines) {
        const DealInSums& s = own ? line.own : line.field;
        out += std::to_string(s.count) + "/" + std::to_string(s.pointsLost) + " ";
    }
    return out;
}

std::string Split(const PointsSplit& s) {
    std::string out;
    for (const std::int64_t part : s.parts) out += std::to_string(part) + " ";
    return out + "= " + std::to_string(s.total) + " /" + std::to_string(s.hands);
}

// Every figure of the deal-in results but the rates, in one line.
std::string Describe(const TallyEngine& e) {
    std::string out =
        "own " + Rows(e.dealInBreakdown, true) + "| field " + Rows(e.dealInBreakdown, false) + "|";
    for (const auto& [name, y] : e.dealInYaku) out += " " + name + ":" + std::to_string(y.count);
    out += " |";
    for (const auto& [name, o] : e.dealInOpponents) {
        out += " " + name + ":" + std::to_string(o.hands) + "/" + std::to_string(o.dealInsTo) + "/" +
               std::to_string(o.pointsLostTo) + "/" + std::to_string(o.dealInsFrom) + "/" +
               std::to_string(o.pointsWonFrom);
    }
    out += " |";
    for (const DealInRecord& r : e.dealInLargest) {
        out += " " + std::to_string(r.pointsLost) + " g" + std::to_string(r.gameIndex) + "h" +
               std::to_string(r.handNumber) + " " + r.winnerName + " " +
               std::to_string(static_cast<int>(r.hanClass));
        for (const std::string& y : r.yaku) out += " " + y;
        out += ";";
    }
    return out + " | " + Split(e.pointsPerHand.own) + " | " + Split(e.pointsPerHand.field);
}

TEST(DealIn, BreakdownOpponentsRecordsAndPointsPerHand) {
    GameBuilder builder;
    GameBuilder otherLog;  // a second pool, as a second log gives
    const std::vector<SeatSpec> four{
        {"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}, {"C", 1800, 0, 4}};
    std::vector<GameRecord> ties;
    builder.Seats(four);
    for (const int lost : {1000, 5000, 5000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000}) {
        builder.Hand({K::Ron, {{"A", lost}, {"me", -lost}}, HanClass::Mangan, {}});
    }
    ties.push_back(builder.Build());
    ties.push_back(builder.ClearHands()
                       .Start(LocalTime(2024, 6, 1))
                       .Hand({K::Ron, {{"A", 3000}, {"me", -3000}}, HanClass::Mangan, {}})
                       .Hand({K::Ron, {{"A", 2000}, {"me", -2000}}, HanClass::Mangan, {}})
                       .Build());
    std::string tieRecords = " 5000 g0h2 A 5; 5000 g0h3 A 5; 3000 g1h1 A 5;";
    for (int hand = 4; hand <= 10; ++hand) tieRecords += " 2000 g0h" + std::to_string(hand) + " A 5;";
    builder.ClearHands().Start(LocalTime(2024, 5, 18, 21, 4));
    const struct {
        const char* name;
        std::vector<GameRecord> games;
        std::string expected;
    } cases[] = {
        {"three players, no deal-in of the user's",
         {builder.Seats({{"me", 1500, 0, 1}, {"A", 1600, 0, 2}, {"B", 1700, 0, 3}})
              .Hand({K::Ron, {{"me", 8000}, {"A", -8000}}, HanClass::Mangan, {kRiichi}})
              .Hand({K::Tsumo, {{"B", 4000}, {"me", -2000}, {"A", -2000}}, HanClass::Han3, {}})
              .Hand({K::ExhaustiveDraw, {{"me", 1500}, {"A", -1500}}, HanClass::None, {}})
              .Build()},
         "own 0/0 0/0 0/0 0/0 0/0 0/0 0/0 | field 1/8000 1/8000 0/0 1/8000 0/0 0/0 0/0 | |"
         " A:3/0/0/1/8000 B:3/0/0/0/0 | | 8000 0 -2000 1500 0 = 7500 /3 | 4000 -8000 -2000 -1500 0 = -7500 "
         "/6"},
        {"into a yakuman, a winner who holds no seat, a hand of no class",
         {builder.ClearHands()
              .Seats(four)
              .Hand({K::Ron, {{"A", 32000}, {"me", -32000}}, HanClass::Yakuman, {kRiichi, "Y"}})
              .Hand({K::Ron, {{"X", 12000}, {"me", -12000}}, HanClass::Haneman, {kDora1}})
              .Hand({K::Ron, {{"B", 1000}, {"me", -1000}}, HanClass::None, {"Y"}})
              .Build()},
         "own 3/45000 1/32000 0/0 0/0 1/12000 0/0 1/32000 | field 0/0 0/0 0/0 0/0 0/0 0/0 0/0 |"
         " Y:2 " +
             kDora1 + ":1 " + kRiichi +
             ":1 | A:3/1/32000/0/0 B:3/1/1000/0/0 C:3/0/0/0/0 |"
             " 32000 g0h1 A 9 " +
             kRiichi + " Y; 12000 g0h2 X 6 " + kDora1 +
             "; 1000 g0h3 B 0 Y;"
             " | 0 -45000 0 0 0 = -45000 /3 | 33000 0 0 0 0 = 33000 /9"},
        {"one opponent met by two of the user's IDs in two logs",
         {builder.ClearHands().Hand({K::Ron, {{"A", 3900}, {"me", -3900}}, HanClass::Han3, {}}).Build(),
          GameBuilder(otherLog)
              .Seats({{"alt", 1500, 0, 1}, {"A", 1600, 0, 2}, {"D", 1700, 0, 3}, {"E", 1800, 0, 4}})
              .Start(LocalTime(2024, 5, 19))
              .Hand({K::Ron, {{"alt", 5200}, {"A", -5200}}, HanClass::Han3, {kRiichi}})
              .Build()},
         "own 1/3900 0/0 1/3900 0/0 0/0 0/0 0/0 | field 1/5200 1/5200 1/5200 0/0 0/0 0/0 0/0 | |"
         " A:2/1/3900/1/5200 B:1/0/0/0/0 C:1/0/0/0/0 D:1/0/0/0/0 E:1/0/0/0/0 | 3900 g0h1 A 3;"
         " | 5200 -3900 0 0 0 = 1300 /2 | 3900 -5200 0 0 0 = -1300 /6"},
        {"a 1000-point deal-in beside a 1000-point riichi deposit: the first entry dealt in",
         {builder.ClearHands()
              .Hand({K::Ron, {{"A", 2000}, {"me", -1000}, {"B", -1000}}, HanClass::Han1, {}})
              .Hand({K::Ron, {{"A", 2000}, {"B", -1000}, {"me", -1000}}, HanClass::Han1, {}})
              .Build()},
         "own 1/1000 0/0 1/1000 0/0 0/0 0/0 0/0 | field 1/1000 0/0 1/1000 0/0 0/0 0/0 0/0 | |"
         " A:2/1/1000/0/0 B:2/0/0/0/0 C:2/0/0/0/0 | 1000 g0h1 A 1;"
         " | 0 -1000 0 0 -1000 = -2000 /2 | 4000 -1000 0 0 -1000 = 2000 /6"},
        {"the ten largest: a tie goes to the older game and the earlier hand", ties,
         "own 13/32000 0/0 0/0 13/32000 0/0 0/0 0/0 | field 0/0 0/0 0/0 0/0 0/0 0/0 0/0 | |"
         " A:13/13/32000/0/0 B:13/0/0/0/0 C:13/0/0/0/0 |" +
             tieRecords + " | 0 -32000 0 0 0 = -32000 /13 | 32000 0 0 0 0 = 32000 /39"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings::AppSettings settings = OpenSettings();
        settings.userIdCount = 2;
        settings.userIds[1] = "alt";
        TallyEngine engine(settings);
        engine.Tally(c.games);
        EXPECT_EQ(Describe(engine), c.expected);
        // The 打ち筋 page counts the same deal-ins and hands, and rates the same deal-ins per hand.
        const DealInLine& all = engine.dealInBreakdown.lines[0];
        EXPECT_EQ(all.own.count, engine.styleOwn.dealIns);
        EXPECT_EQ(all.field.count, engine.styleField.dealIns);
        EXPECT_EQ(engine.pointsPerHand.field.hands, engine.styleField.hands);
        EXPECT_EQ(all.ownShare.value, engine.styleLines[static_cast<int>(StyleRow::DealInRate)].own.value);
        for (const DealInLine& line : engine.dealInBreakdown.lines) {
            EXPECT_EQ(line.significant, ExcludesZero(line.difference));
        }
    }
}

}  // namespace
}  // namespace obrenta::tally::test
