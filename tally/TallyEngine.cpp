#include "tally/TallyEngine.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>
#include <unordered_map>
#include <utility>

namespace obrenta::tally {

using scorelog::HandKind;
using scorelog::HandList;
using scorelog::HandRecord;
using scorelog::NameId;
using scorelog::NamePool;

namespace {

// Seats the tally may look at: a damaged record never sends a loop past the fourth seat.
int SeatLimit(const GameRecord& game) {
    return std::clamp(game.playerCount, 0, 4);
}

// The seat names of one game, for finding the seat a hand entry names: the same seat as
// GameRecord::FindSeatByName(NameId) within the first seatLimit seats. Which seat an entry names
// differs from hand to hand, so every seat is tested rather than stopping at the first match
// after a branch that is often guessed wrong.
class SeatNames {
public:
    SeatNames(const GameRecord& game, int seatLimit) : limit_(seatLimit) {
        for (int k = 0; k < 4; ++k) {
            names_[k] = game.seats[k].name;
        }
    }

    int Of(NameId name) const {
        int seat = -1;
        for (int k = 3; k >= 0; --k) {
            seat = k < limit_ && names_[k] == name ? k : seat;
        }
        return seat;
    }

private:
    std::array<NameId, 4> names_{};
    int limit_;
};

// The IDs in use, taken from the settings once and resolved to the name ids of one pool at a
// time, so that finding the user's seat compares integers only.
class UserIdMatcher {
public:
    explicit UserIdMatcher(const AppSettings& settings) {
        const int usable = settings.UsableIdCount();
        for (int i = 0; i < usable; ++i) {
            if (settings.userIdEnabled[i] != 0) {
                slots_[idCount_] = i;
                ids_[idCount_] = settings.userIds[i];
                ++idCount_;
            }
        }
    }

    bool Matches(const AppSettings& settings) const {
        const int usable = settings.UsableIdCount();
        int n = 0;
        for (int i = 0; i < usable; ++i) {
            if (settings.userIdEnabled[i] == 0) {
                continue;
            }
            if (n == idCount_ || slots_[n] != i || ids_[n] != settings.userIds[i]) {
                return false;
            }
            ++n;
        }
        return n == idCount_;
    }

    UserSeat Find(const GameRecord& game) {
        UserSeat result;
        const NamePool* pool = game.names.get();
        if (pool == nullptr) {
            return result;
        }
        if (pool != pool_ || poolRef_.expired() || pool->Size() != poolSize_) {
            Resolve(game.names);
        }
        const int seatLimit = SeatLimit(game);
        int matches = 0;
        for (int j = 0; j < resolvedCount_; ++j) {
            for (int k = 0; k < seatLimit; ++k) {
                if (game.seats[k].name == resolvedIds_[j]) {
                    ++matches;
                    result.slot = resolvedSlots_[j];
                    result.seat = k;
                }
            }
        }
        result.found = matches == 1;
        return result;
    }

private:
    void Resolve(const scorelog::NamePoolPtr& pool) {
        pool_ = pool.get();
        poolRef_ = pool;
        poolSize_ = pool->Size();
        resolvedCount_ = 0;
        for (int j = 0; j < idCount_; ++j) {
            // Seat names are cut to 63 bytes, so a longer ID names nobody (though the pool may
            // hold the same bytes as a yaku).
            if (ids_[j].size() > scorelog::kMaxNameBytes) {
                continue;
            }
            if (auto id = pool->Find(ids_[j])) {
                resolvedSlots_[resolvedCount_] = slots_[j];
                resolvedIds_[resolvedCount_] = *id;
                ++resolvedCount_;
            }
        }
    }

    int idCount_ = 0;
    std::array<int, settings::kMaxUserIds> slots_{};
    std::array<std::string, settings::kMaxUserIds> ids_{};

    // Held weakly: a live pool can't share its address with a new one, so the pointer test is
    // safe against a pool freed and another allocated in its place.
    const NamePool* pool_ = nullptr;
    std::weak_ptr<const NamePool> poolRef_;
    std::size_t poolSize_ = 0;
    int resolvedCount_ = 0;
    std::array<int, settings::kMaxUserIds> resolvedSlots_{};
    std::array<NameId, settings::kMaxUserIds> resolvedIds_{};
};

// The filter checks after the user's seat is known.
bool PassesChecks(const GameRecord& game, const AppSettings& settings, const UserSeat& user) {
    if (!user.found) {
        return false;
    }
    if (game.startTime < settings.dateFrom || game.startTime > settings.dateTo) {
        return false;
    }
    int kindFlag = -1;
    switch (game.tableKind) {
        case scorelog::TableKind::SuperAdvanced:
            kindFlag = 0;
            break;
        case scorelog::TableKind::Advanced:
            kindFlag = 1;
            break;
        case scorelog::TableKind::Ranking:
            kindFlag = 2;
            break;
        case scorelog::TableKind::Other:
            kindFlag = 3;
            break;
    }
    if (kindFlag >= 0 && settings.tableKindFilter[kindFlag] != 1) {
        return false;
    }
    if (settings.gameKindFilter[game.eastSouth ? 3 : 2] != 1) {
        return false;
    }
    if (game.playerCount == 3 && settings.gameKindFilter[1] != 1) {
        return false;
    }
    if (game.playerCount == 4 && settings.gameKindFilter[0] != 1) {
        return false;
    }
    const scorelog::SeatResult& seat = game.seats[user.seat];
    if (seat.rank < 1 || seat.rank > 4 || settings.rankFilter[seat.rank - 1] != 1) {
        return false;
    }
    if (seat.ratingRank < 1 || seat.ratingRank > 4 || settings.ratingRankFilter[seat.ratingRank - 1] != 1) {
        return false;
    }
    return true;
}

// The local hour of a start time, exactly as localtime_r gives it, with one or two localtime_r
// calls per UTC day instead of one per game. A day whose clock runs evenly from its first
// second to its last (no zone change, no leap second) maps every second by plain arithmetic;
// any other day falls back to localtime_r for each time.
class HourOfDay {
public:
    HourOfDay() { tzset(); }

    int Hour(std::int64_t t) {
        const std::int64_t day = FloorDiv(t, kDay);
        Entry& e = cache_[static_cast<std::size_t>(day) % cache_.size()];
        if (!e.valid || e.day != day) {
            Fill(e, day);
        }
        if (!e.even) {
            return LocalHour(t);
        }
        const std::int64_t second = (e.firstSecondOfDay + (t - day * kDay)) % kDay;
        return static_cast<int>(second / 3600);
    }

private:
    static constexpr std::int64_t kDay = 86400;

    struct Entry {
        std::int64_t day = 0;
        std::int64_t firstSecondOfDay = 0;
        bool valid = false;
        bool even = false;
    };

    static std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
        std::int64_t q = a / b;
        return (a % b != 0 && a < 0) ? q - 1 : q;
    }

    static bool Local(std::int64_t t, std::tm& out) {
        const std::time_t tt = static_cast<std::time_t>(t);
        return localtime_r(&tt, &out) != nullptr;
    }

    static int LocalHour(std::int64_t t) {
        std::tm tm{};
        return Local(t, tm) ? std::clamp(tm.tm_hour, 0, 23) : 0;
    }

    static void Fill(Entry& e, std::int64_t day) {
        e.day = day;
        e.valid = true;
        e.even = false;
        std::tm first{};
        std::tm last{};
        if (!Local(day * kDay, first) || !Local(day * kDay + kDay - 1, last)) {
            return;
        }
        const std::int64_t a = first.tm_hour * 3600 + first.tm_min * 60 + first.tm_sec;
        const std::int64_t b = last.tm_hour * 3600 + last.tm_min * 60 + last.tm_sec;
        e.firstSecondOfDay = a;
        e.even = first.tm_gmtoff == last.tm_gmtoff && first.tm_sec < 60 && last.tm_sec < 60 &&
                 (a + kDay - 1) % kDay == b;
    }

    std::array<Entry, 64> cache_{};
};

// Name-keyed sums of one name pool, indexed by name id; turned into the byte-keyed result
// maps once the pass is over.
struct OpponentSums {
    std::int32_t games = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::int32_t ties = 0;
    double userRankSum = 0;
    double opponentRankSum = 0;
    double ratingSum = 0;
};

struct PoolSums {
    const NamePool* pool = nullptr;
    std::vector<OpponentSums> opponents;
    std::vector<std::int32_t> ownYaku;
    std::vector<std::int32_t> otherYaku;
};

class PoolSumsSet {
public:
    PoolSums& For(const NamePool* pool) {
        if (last_ != nullptr && last_->pool == pool) {
            return *last_;
        }
        auto [it, added] = index_.try_emplace(pool, sums_.size());
        if (added) {
            auto& s = sums_.emplace_back(std::make_unique<PoolSums>());
            s->pool = pool;
            const std::size_t size = pool != nullptr ? pool->Size() : 1;
            s->opponents.resize(size);
            s->ownYaku.resize(size);
            s->otherYaku.resize(size);
        }
        last_ = sums_[it->second].get();
        return *last_;
    }

    const std::vector<std::unique_ptr<PoolSums>>& All() const { return sums_; }

private:
    std::vector<std::unique_ptr<PoolSums>> sums_;
    std::unordered_map<const NamePool*, std::size_t> index_;
    PoolSums* last_ = nullptr;
};

// A name id can fall outside the pool only in a damaged record; such a name is skipped.
template <typename T>
T* At(std::vector<T>& v, NameId id) {
    return id < v.size() ? &v[id] : nullptr;
}

double Quotient(double dividend, double divisor) {
    return divisor != 0 ? dividend / divisor : 0;
}

double Rate(std::int64_t count, std::int64_t of) {
    return of != 0 ? static_cast<double>(count) / static_cast<double>(of) * 100 : 0;
}

// Rounding can leave E[x²] − E[x]² a hair below zero when every value is the same.
double Deviation(double squareSum, double sum, double n) {
    const double mean = sum / n;
    const double variance = squareSum / n - mean * mean;
    return variance > 0 ? std::sqrt(variance) : 0;
}

void Streak(bool hit, std::int32_t& current, std::int32_t& longest, std::int32_t& currentNo,
            std::int32_t& longestNo) {
    if (hit) {
        ++current;
        longest = std::max(longest, current);
        currentNo = 0;
    } else {
        current = 0;
        ++currentNo;
        longestNo = std::max(longestNo, currentNo);
    }
}

int KindIndex(HandKind kind) {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < scorelog::kHandKindCount ? k : static_cast<int>(HandKind::Other);
}

int HanIndex(scorelog::HanClass han) {
    const int h = static_cast<int>(han);
    return h >= 0 && h < scorelog::kHanClassCount ? h : 0;
}

}  // namespace

UserSeat FindUserSeat(const GameRecord& game, const AppSettings& settings) {
    // The pages ask for every selected game in turn; keep the resolved IDs between calls.
    thread_local std::unique_ptr<UserIdMatcher> matcher;
    if (!matcher || !matcher->Matches(settings)) {
        matcher = std::make_unique<UserIdMatcher>(settings);
    }
    return matcher->Find(game);
}

bool PassesFilter(const GameRecord& game, const AppSettings& settings) {
    return PassesChecks(game, settings, FindUserSeat(game, settings));
}

scorelog::ReadOutcome TallyEngine::ReadScoreLog() {
    return scoreLog_.ReadScoreLog(settings().MJSFileName);
}

void TallyEngine::SelectGames() {
    SelectGames(scoreLog_.games());
}

void TallyEngine::SelectGames(const std::vector<GameRecord>& games) {
    const AppSettings& s = settings();
    UserIdMatcher matcher(s);
    const std::size_t keep = static_cast<std::size_t>(std::max(s.recentCount, 0));
    // Only the newest `keep` passing games survive, so look from the newest and stop there;
    // the copies are then made oldest first into a vector of the right size.
    picked_.clear();
    selectedSeats_.clear();
    for (std::size_t i = games.size(); i-- > 0 && picked_.size() < keep;) {
        const UserSeat user = matcher.Find(games[i]);
        if (PassesChecks(games[i], s, user)) {
            picked_.push_back(i);
            selectedSeats_.push_back(user.seat);
        }
    }
    std::reverse(selectedSeats_.begin(), selectedSeats_.end());
    // Assigned over the last selection rather than cleared and copied again: a game selected
    // again shares its hands and names with the copy already there, and assigning a shared
    // pointer its own value skips the two atomic count updates that a new copy costs.
    const std::size_t count = picked_.size();
    const std::size_t reused = std::min(count, selectedGames.size());
    selectedGames.reserve(count);
    auto it = picked_.rbegin();
    for (std::size_t j = 0; j < reused; ++j, ++it) {
        selectedGames[j] = games[*it];
    }
    for (; it != picked_.rend(); ++it) {
        selectedGames.push_back(games[*it]);
    }
    selectedGames.resize(count);
}

void TallyEngine::ResetResults() {
    static_cast<TallyResults&>(*this) = TallyResults{};
}

bool TallyEngine::Tally() {
    return Tally(scoreLog_.games());
}

bool TallyEngine::Tally(const std::vector<GameRecord>& games) {
    SelectGames(games);
    ResetResults();

    shortestGameSeconds = 36000;
    ownRMin = 10000;
    opponentRMin = 10000;
    pointsMax = -10000;
    pointsMin = 10000;

    double ownRSum = 0;
    double ownRSquareSum = 0;
    double opponentRSum = 0;
    double opponentRSquareSum = 0;
    double rankSum = 0;
    double pointsSquareSum = 0;
    std::int64_t pointsSum = 0;
    std::int64_t handSum = 0;

    PoolSumsSet poolSums;
    HourOfDay hourOfDay;

    for (std::size_t g = 0; g < selectedGames.size(); ++g) {
        GameRecord& game = selectedGames[g];
        const int s = selectedSeats_[g];
        const scorelog::SeatResult& user = game.seats[s];
        const NameId userName = user.name;
        const int seatLimit = SeatLimit(game);
        const int r = user.rank;
        PoolSums& sums = poolSums.For(game.names.get());
        // Each game's hands are a heap block of their own; fetch the next ones early, since
        // waiting for them is most of the pass's time.
        if (g + 2 < selectedGames.size()) {
            __builtin_prefetch(selectedGames[g + 2].hands.get());
        }
        if (g + 1 < selectedGames.size() && selectedGames[g + 1].hands) {
            const HandList& next = *selectedGames[g + 1].hands;
            if (!next.empty()) {
                // The parser allocates a game's yaku lists right after its hands, so the hands
                // and a few lines past them hold nearly everything the next game reads.
                const char* from = reinterpret_cast<const char*>(next.data());
                const char* to = from + next.size() * sizeof(HandRecord) + 256;
                for (const char* line = from; line < to; line += 64) {
                    __builtin_prefetch(line);
                }
            }
        }

        ++gameCount;
        handSum += game.handCount;
        const std::int64_t length = game.GameSeconds();
        shortestGameSeconds = std::min(shortestGameSeconds, length);
        longestGameSeconds = std::max(longestGameSeconds, length);
        totalGameSeconds += length;

        for (int k = 0; k < seatLimit; ++k) {
            const scorelog::SeatResult& seat = game.seats[k];
            const std::int32_t R = seat.rating;
            const double square = static_cast<double>(std::int64_t{R} * R);
            const int bin = R / 10;
            if (k == s) {
                ownRSum += R;
                ownRSquareSum += square;
                ownRMax = std::max(ownRMax, R);
                ownRMin = std::min(ownRMin, R);
                ownRLast = R;
                if (bin >= 0 && bin < kHistogramBins) {
                    ++ownRHistogram[bin];
                }
                continue;
            }
            opponentRSum += R;
            opponentRSquareSum += square;
            opponentRMax = std::max(opponentRMax, R);
            opponentRMin = std::min(opponentRMin, R);
            ++opponentSeatCount;
            if (bin >= 0 && bin < kHistogramBins) {
                ++opponentRHistogram[bin];
            }
            if (OpponentSums* o = At(sums.opponents, seat.name)) {
                ++o->games;
                o->userRankSum += r;
                o->opponentRankSum += seat.rank;
                o->ratingSum += R;
                if (r < seat.rank) {
                    ++o->wins;
                } else if (r > seat.rank) {
                    ++o->losses;
                } else {
                    ++o->ties;
                }
            }
        }

        ++rankCount[r];
        rankSum += r;
        HourStats& hour = hourStats[hourOfDay.Hour(game.startTime)];
        ++hour.games;
        ++hour.rankCount[r];
        hour.avgRank += r;
        hour.avgPoints += user.points;

        // A three-player game has no fourth place; its streaks neither grow nor break there.
        for (int j = 1; j <= seatLimit; ++j) {
            Streak(r == j, currentRankStreak[j], longestRankStreak[j], currentNoRankStreak[j],
                   longestNoRankStreak[j]);
        }

        const std::int32_t P = user.points;
        pointsMax = std::max(pointsMax, P);
        pointsMin = std::min(pointsMin, P);
        pointsSum += P;
        pointsSquareSum += static_cast<double>(std::int64_t{P} * P);

        // The fifth running sum takes the entries that name no seat.
        std::array<std::int64_t, 5> running{};
        const SeatNames seatNames(game, seatLimit);
        bool yakitori = true;
        bool boxedOut = false;
        bool lastHandWon = false;
        if (game.hands) {
            const HandList& handList = *game.hands;
            std::int32_t n = 0;
            for (const HandRecord& hand : handList) {
                ++n;
                const int entryCount = std::clamp(hand.entryCount, 0, 4);
                const bool win = hand.IsWin();
                const bool ownWin = win && hand.entryNames[0] == userName;
                if (win) {
                    const int han = HanIndex(hand.hanClass);
                    auto& yakuCounts = ownWin ? sums.ownYaku : sums.otherYaku;
                    if (ownWin) {
                        ++ownWinCount;
                        ++ownHanCount[han];
                        yakitori = false;
                    } else {
                        ++otherWinCount;
                        ++otherHanCount[han];
                    }
                    for (NameId y : hand.yaku) {
                        if (std::int32_t* c = At(yakuCounts, y)) {
                            ++*c;
                        }
                    }
                }

                // One pass over the entries gives the user's change and each entry's seat.
                const bool lastHand = n == game.handCount;
                std::int32_t d = 0;
                std::int64_t lastHandGain = 0;
                for (int i = 0; i < entryCount; ++i) {
                    const NameId name = hand.entryNames[i];
                    const std::int32_t delta = hand.entryDeltas[i];
                    d = name == userName ? delta : d;
                    const int k = seatNames.Of(name);
                    running[k >= 0 ? k : 4] += lastHand ? 0 : delta;
                    lastHandGain += k == s ? delta : 0;
                }
                const int c = d > 0   ? static_cast<int>(PointChange::Gain)
                              : d < 0 ? static_cast<int>(PointChange::Loss)
                                      : static_cast<int>(PointChange::Unchanged);
                HandOutcomeStats& cell = handOutcome[c][KindIndex(hand.kind)];
                ++cell.count;
                cell.avgPointChange += d;
                ++handOutcomeTotal[c].count;
                handOutcomeTotal[c].avgPointChange += d;

                if (lastHand) {
                    // The last hand decides the box-out but stays out of the running sums, which
                    // give the rank going into it.
                    lastHandWon = ownWin;
                    boxedOut = std::int64_t{game.startPoints} + running[s] + lastHandGain < 0;
                }
            }
        }

        int p = 1;
        for (int k = 0; k < seatLimit; ++k) {
            if (running[k] > running[s]) {
                ++p;
            }
        }
        if (lastHandWon) {
            ++rankTransitionWon[p][r];
            ++preLastRankWonCount[p];
            ++lastHandWinCount;
            ++lastHandWinByFinalRank[r];
        }
        ++rankTransition[p][r];
        ++preLastRankCount[p];

        if (yakitori) {
            ++yakitoriCount;
        }
        Streak(yakitori, currentYakitoriStreak, longestYakitoriStreak, currentNoYakitoriStreak,
               longestNoYakitoriStreak);
        if (boxedOut) {
            ++boxOutCount;
        }
        Streak(boxedOut, currentBoxOutStreak, longestBoxOutStreak, currentNoBoxOutStreak,
               longestNoBoxOutStreak);
        game.boxedOut = boxedOut;
        game.yakitori = yakitori;
    }

    if (gameCount < 1) {
        ResetResults();
        return true;
    }

    totalHandCount = static_cast<std::int32_t>(handSum);
    pointsTotal = static_cast<std::int32_t>(pointsSum);
    const double n = gameCount;
    const std::int64_t hands = handSum;

    avgGameSeconds = totalGameSeconds / gameCount;
    avgHandsPerGame = static_cast<double>(handSum) / n;
    ownRMean = ownRSum / n;
    ownRDeviation = Deviation(ownRSquareSum, ownRSum, n);
    if (opponentSeatCount > 0) {
        opponentRMean = opponentRSum / opponentSeatCount;
        opponentRDeviation = Deviation(opponentRSquareSum, opponentRSum, opponentSeatCount);
    }
    for (int rank = 1; rank <= 4; ++rank) {
        rankRate[rank] = Rate(rankCount[rank], gameCount);
    }
    avgRank = rankSum / n;
    pointsMean = static_cast<double>(pointsSum) / n;
    pointsDeviation = Deviation(pointsSquareSum, static_cast<double>(pointsSum), n);
    predictedR = opponentRMean + 3000 - 1200 * avgRank;
    yakitoriRate = Rate(yakitoriCount, gameCount);
    boxOutRate = Rate(boxOutCount, gameCount);
    ownWinRate = Rate(ownWinCount, hands);
    otherWinRate = Rate(otherWinCount, hands);

    for (HourStats& hour : hourStats) {
        if (hour.games >= 1) {
            hour.avgRank /= hour.games;
            hour.avgPoints /= hour.games;
        }
    }

    for (int h = 1; h < scorelog::kHanClassCount; ++h) {
        ownHanRateOfHands[h] = Rate(ownHanCount[h], hands);
        otherHanRateOfHands[h] = Rate(otherHanCount[h], hands);
        ownHanRateOfWins[h] = Rate(ownHanCount[h], ownWinCount);
        otherHanRateOfWins[h] = Rate(otherHanCount[h], otherWinCount);
    }

    // Same names from different pools are the same name: merge them by their bytes.
    for (const auto& pool : poolSums.All()) {
        if (pool->pool == nullptr) {
            continue;
        }
        const NamePool& names = *pool->pool;
        for (NameId id = 0; id < pool->opponents.size(); ++id) {
            const OpponentSums& o = pool->opponents[id];
            if (o.games == 0) {
                continue;
            }
            OpponentStats& stats = opponentStats[std::string(names.View(id))];
            stats.games += o.games;
            stats.avgUserRank += o.userRankSum;
            stats.avgOpponentRank += o.opponentRankSum;
            stats.avgOpponentR += o.ratingSum;
            stats.wins += o.wins;
            stats.losses += o.losses;
            stats.ties += o.ties;
        }
        for (NameId id = 0; id < pool->ownYaku.size(); ++id) {
            if (pool->ownYaku[id] != 0) {
                ownYaku[std::string(names.View(id))].count += pool->ownYaku[id];
            }
            if (pool->otherYaku[id] != 0) {
                otherYaku[std::string(names.View(id))].count += pool->otherYaku[id];
            }
        }
    }
    for (auto& [name, yaku] : ownYaku) {
        yaku.rateOfHands = Rate(yaku.count, hands);
        yaku.rateOfWins = Rate(yaku.count, ownWinCount);
    }
    for (auto& [name, yaku] : otherYaku) {
        yaku.rateOfHands = Rate(yaku.count, hands);
        yaku.rateOfWins = Rate(yaku.count, otherWinCount);
    }

    auto finishCell = [hands](HandOutcomeStats& cell) {
        if (cell.count >= 1) {
            cell.rate = Rate(cell.count, hands);
            cell.avgPointChange /= cell.count;
        }
    };
    for (auto& row : handOutcome) {
        for (HandOutcomeStats& cell : row) {
            finishCell(cell);
        }
    }
    for (HandOutcomeStats& cell : handOutcomeTotal) {
        finishCell(cell);
    }

    double changeAll = 0;
    double changeAllWon = 0;
    for (int p = 1; p <= 4; ++p) {
        double change = 0;
        double changeWon = 0;
        for (int r = 1; r <= 4; ++r) {
            change += (r - p) * rankTransition[p][r];
            changeWon += (r - p) * rankTransitionWon[p][r];
        }
        avgRankChange[p] = Quotient(change, preLastRankCount[p]);
        avgRankChangeWon[p] = Quotient(changeWon, preLastRankWonCount[p]);
        changeAll += change;
        changeAllWon += changeWon;
    }
    avgRankChangeAll = Quotient(changeAll, gameCount);
    avgRankChangeAllWon = Quotient(changeAllWon, lastHandWinCount);

    for (auto& [name, o] : opponentStats) {
        if (o.games > 0) {
            o.avgUserRank /= o.games;
            o.avgOpponentRank /= o.games;
            o.avgOpponentR /= o.games;
        }
    }
    return true;
}

}  // namespace obrenta::tally
