#pragma once

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <vector>

#include "scorelog/GameRecord.h"
#include "tally/HandWalk.h"
#include "tally/SelectedGame.h"

namespace obrenta::tally {

// The results of a list of accumulators: one base per accumulator's Result.
template <typename... Accumulators>
struct TallyResultsOf : Accumulators::Result... {};

// One pass over the selected games, oldest first, that feeds every accumulator of the list.
// An accumulator has
//     using Result = ...;       a record that never holds a half-computed value
//     Result Finish() const;    also when no game was added
// and, for each game, either of
//     void Add(const SelectedGame&);
//     void Add(const SelectedGame&, const HandWalk&);
// which see the game's flags set; one that reads hands also has
//     void AddHand(const SelectedGame&, const HandView&);
// called for each hand, in order, before the game's Add. So one more statistic is one more
// type in the list, and all of them share one walk over the hands.
template <typename... Accumulators>
class TallyPass {
public:
    using Results = TallyResultsOf<Accumulators...>;

    // Sets the per-game flags of each game, and hands the game to every accumulator.
    void Run(std::vector<SelectedGame>& games) {
        for (std::size_t index = 0; index < games.size(); ++index) {
            auto& selected = games[index];
            const HandWalk walk = WalkHands(selected.game, selected.userSeat, [&](const HandView& hand) {
                std::apply([&](auto&... accumulator) { (AddHandTo(accumulator, selected, hand), ...); },
                           accumulators_);
            });
            selected.yakitori = walk.yakitori;
            selected.boxedOut = walk.boxedOut;
            std::apply([&](auto&... accumulator) { (AddTo(accumulator, selected, walk), ...); },
                       accumulators_);
        }
    }

    // Writes every accumulator's result over its part of results.
    void Finish(Results& results) const {
        std::apply(
            [&](const auto&... accumulator) {
                ((static_cast<typename std::decay_t<decltype(accumulator)>::Result&>(results) =
                      accumulator.Finish()),
                 ...);
            },
            accumulators_);
    }

private:
    // Inlined into the walk: a call per hand and accumulator costs more than most of their work.
    template <typename Accumulator>
    [[gnu::always_inline]] static void AddHandTo(Accumulator& accumulator, const SelectedGame& selected,
                                                 const HandView& hand) {
        if constexpr (requires { accumulator.AddHand(selected, hand); }) {
            accumulator.AddHand(selected, hand);
        }
    }

    template <typename Accumulator>
    static void AddTo(Accumulator& accumulator, const SelectedGame& selected, const HandWalk& walk) {
        if constexpr (requires { accumulator.Add(selected, walk); }) {
            accumulator.Add(selected, walk);
        } else {
            accumulator.Add(selected);
        }
    }

    std::tuple<Accumulators...> accumulators_;
};

}  // namespace obrenta::tally
