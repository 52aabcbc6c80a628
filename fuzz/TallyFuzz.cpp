// The whole way from log bytes to the report: parse, tally with a filter taken from the input,
// fill every page and format the report. Sanitizers watch the arithmetic; the counts must agree.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "present/Report.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace obrenta;
    if (size < 4) return 0;
    // The first four bytes choose the filter, the rest is the log.
    const std::uint32_t choice =
        data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 4), size - 4);

    settings::AppSettings s;
    s.SetDefaults();
    tally::TallyEngine engine(s);
    engine.scoreLog().ParseBuffer(bytes);
    const auto& games = engine.scoreLog().games();

    // The user is someone who sits in the log, so that games get selected.
    s.userIdCount = static_cast<std::int32_t>(choice % 7) - 1;  // -1..5, out of range included
    for (int i = 0; i < settings::kMaxUserIds; ++i) {
        s.userIdEnabled[i] = (choice >> (3 + i)) & 1 ? 1 : 0;
        if (!games.empty()) {
            const auto& game = games[(i * 7) % games.size()];
            s.userIds[i] = std::string(game.SeatName(i % game.playerCount));
        }
    }
    for (int k = 0; k < 4; ++k) {
        s.tableKindFilter[k] = (choice >> (8 + k)) & 1;
        s.gameKindFilter[k] = (choice >> (12 + k)) & 1 ? 1 : 0;
        s.rankFilter[k] = (choice >> (16 + k)) & 1 ? 1 : 0;
        s.ratingRankFilter[k] = (choice >> (20 + k)) & 1 ? 1 : 0;
    }
    // Mostly all of them on, so that most inputs reach the statistics.
    if ((choice >> 24) & 1) {
        s.tableKindFilter = s.gameKindFilter = s.rankFilter = s.ratingRankFilter = {1, 1, 1, 1};
    }
    s.recentCount = (choice >> 25) & 1 ? static_cast<std::int32_t>(choice >> 26) : 10000;
    if ((choice >> 31) & 1) {
        s.dateFrom = INT64_MIN / 2;
        s.dateTo = INT64_MAX / 2;
    }

    OBRENTA_FUZZ_CHECK(engine.Tally());
    OBRENTA_FUZZ_CHECK(engine.gameCount == static_cast<std::int32_t>(engine.selectedGames.size()));
    OBRENTA_FUZZ_CHECK(engine.gameCount <= s.recentCount);
    std::int64_t ranked = 0;
    for (int r = 1; r <= 4; ++r) ranked += engine.rankCount[r];
    OBRENTA_FUZZ_CHECK(ranked == engine.gameCount);

    const std::string report = present::RenderReport(engine, s);
    OBRENTA_FUZZ_CHECK(fuzz::IsValidUtf8(report));
    return 0;
}
