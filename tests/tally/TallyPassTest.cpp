// A statistic joins the tally pass as one more accumulator in its list.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GameBuilder.h"
#include "tally/TallyEngine.h"

namespace obrenta::tally::test {
namespace {

// Keeps what the pass hands it, in order.
class SeenGames {
public:
    struct Result {
        std::vector<std::int64_t> starts;
        std::vector<int> handsPerGame;
        std::vector<bool> boxedOut;
        bool finished = false;
    };

    void AddHand(const SelectedGame&, const HandView&) { ++hands_; }
    void Add(const SelectedGame& selected) {
        seen_.starts.push_back(selected.game.startTime);
        seen_.handsPerGame.push_back(hands_);
        seen_.boxedOut.push_back(selected.boxedOut);
        hands_ = 0;
    }
    Result Finish() const {
        Result result = seen_;
        result.finished = true;
        return result;
    }

private:
    Result seen_;
    int hands_ = 0;
};

TEST(TallyPass, AnAccumulatorInTheListSeesEveryGameAndItsHandsAndIsFinished) {
    GameBuilder b;
    std::vector<SelectedGame> games;
    for (int i = 0; i < 3; ++i) {
        b.ClearHands().Start(1000 * i).StartPoints(1000 - 700 * i);
        for (int h = 0; h <= i; ++h) b.Hand({HandKind::Chombo, {{"me", -400}}, HanClass::None, {}});
        games.push_back({b.Build()});
    }
    using Pass = TallyPass<SeenGames, RankAccumulator>;
    Pass pass;
    pass.Run(games);
    Pass::Results results;
    pass.Finish(results);

    const SeenGames::Result& seen = results;
    EXPECT_TRUE(seen.finished);
    EXPECT_EQ(seen.starts, (std::vector<std::int64_t>{0, 1000, 2000}));
    EXPECT_EQ(seen.handsPerGame, (std::vector<int>{1, 2, 3}));
    // The game's flags are set before its Add.
    EXPECT_EQ(seen.boxedOut, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(results.boxOutCount, 2);
}

}  // namespace
}  // namespace obrenta::tally::test
