// ParseGameBlock on the blocks the reader would cut from the input, and on the input's raw lines
// as one block. Accepted games must hold their invariants, and a scratch record reused across
// blocks (as the reader reuses one) must parse exactly as a fresh one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "scorelog/GameBlockParser.h"
#include "scorelog/ScoreLog.h"

namespace {

using obrenta::scorelog::GameRecord;
using obrenta::scorelog::NamePool;
using obrenta::scorelog::ParseGameBlock;

// scratch.names must point at pool; fresh interns in a pool of its own, so names are compared
// by their bytes.
void ParseBoth(GameRecord& scratch, NamePool& pool, const std::vector<std::string_view>& lines) {
    const bool accepted = ParseGameBlock(scratch, lines, pool);

    GameRecord fresh;
    const bool freshAccepted = ParseGameBlock(fresh, lines);
    OBRENTA_FUZZ_CHECK(accepted == freshAccepted);
    if (!accepted) return;
    obrenta::fuzz::CheckGame(fresh);
    OBRENTA_FUZZ_CHECK(obrenta::fuzz::SameGame(scratch, fresh));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    auto pool = std::make_shared<NamePool>();
    GameRecord scratch;
    for (const std::vector<std::string>& block : obrenta::scorelog::SplitLogBlocks(bytes)) {
        OBRENTA_FUZZ_CHECK(!block.empty() && block.size() <= obrenta::scorelog::kMaxBlockLines);
        std::vector<std::string_view> lines;
        for (const std::string& line : block) {
            OBRENTA_FUZZ_CHECK(line.size() <= obrenta::scorelog::kMaxLinePieceBytes);
            OBRENTA_FUZZ_CHECK(line.find('\0') == std::string::npos);
            lines.emplace_back(line);
        }
        scratch.names = pool;
        ParseBoth(scratch, *pool, lines);
    }

    // Lines the reader never hands on (longer than a piece, with NUL bytes, a last line without
    // its newline) must not trouble the parser either.
    const std::vector<std::string_view> raw = obrenta::fuzz::SplitRawLines(bytes);
    if (!raw.empty()) {
        scratch.names = pool;
        ParseBoth(scratch, *pool, raw);
    }
    return 0;
}
