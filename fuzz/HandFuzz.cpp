// ParseHand on two lines: the input up to and including its first LF, and the rest.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "FuzzSupport.h"
#include "scorelog/GameBlockParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace obrenta::scorelog;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = bytes.find('\n');
    const std::size_t split = newline == std::string_view::npos ? bytes.size() : newline + 1;
    const std::string_view first = bytes.substr(0, split);
    const std::string_view result = bytes.substr(split);

    GameRecord game;
    game.names = std::make_shared<NamePool>();
    const auto hand = ParseHand(first, result, *game.names);
    obrenta::fuzz::CheckHand(game, *hand);

    // The same lines give the same hand whatever the pool already holds.
    const auto again = ParseHand(first, result, *game.names);
    OBRENTA_FUZZ_CHECK(hand->entryCount == again->entryCount && hand->kind == again->kind &&
                       hand->hanClass == again->hanClass && hand->yaku == again->yaku &&
                       hand->entryNames == again->entryNames && hand->entryDeltas == again->entryDeltas);

    // The outcome is decided by the result line alone.
    const auto alone = ParseHand("\n", result, *game.names);
    OBRENTA_FUZZ_CHECK(alone->entryCount == 0);
    OBRENTA_FUZZ_CHECK(alone->kind == hand->kind && alone->yaku == hand->yaku);
    return 0;
}
