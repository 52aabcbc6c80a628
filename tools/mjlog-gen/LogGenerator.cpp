#include "tools/mjlog-gen/LogGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>

#include "base/Platform.h"
#include "tools/mjlog-gen/Cp932Words.h"

namespace obrenta::tools {

namespace {

namespace w = cp932;

// Used only to spread a --size-mb log over the years before its game count is known.
constexpr std::int64_t kAverageGameBytes = 1000;
// The span of years the games are spread over when they don't fill it back to back.
constexpr std::int64_t kSpanMinutes = 13LL * 365 * 1440 / 2;
constexpr int kMeanSessionGames = 4;
constexpr int kMaxHandsPerGame = 24;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year;
    int month;
    int day;
};

Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

void AppendInt(std::string& out, std::int64_t value) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    out.append(buffer, end);
}

void AppendSigned(std::string& out, std::int64_t value) {
    if (value >= 0) out += '+';
    AppendInt(out, value);
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// "YYYY/MM/DD HH:MM" of local minutes since 1970: 16 bytes, as the parser scans it.
void AppendDateTime(std::string& out, std::int64_t minutes) {
    const std::int64_t days = FloorDiv(minutes, 1440);
    const int minuteOfDay = static_cast<int>(minutes - days * 1440);
    const Civil civil = CivilFromDays(days);
    AppendInt(out, civil.year);
    out += '/';
    AppendTwoDigits(out, civil.month);
    out += '/';
    AppendTwoDigits(out, civil.day);
    out += ' ';
    AppendTwoDigits(out, minuteOfDay / 60);
    out += ':';
    AppendTwoDigits(out, minuteOfDay % 60);
}

// Chances of a session starting in each hour of the day: evenings busy, no hour empty.
constexpr std::array<double, 24> kHourWeights = {5, 4, 3, 2, 1, 1, 1, 2, 2, 2, 3, 3,
                                                 4, 4, 4, 4, 4, 4, 5, 6, 8, 9, 9, 7};

constexpr std::string_view kAsciiStems[] = {
    "ken",   "taro", "mame",  "yuki", "shin",  "aki",   "riichi", "tenpai", "dora",  "ippatsu",
    "haku",  "chun", "hatsu", "kaze", "pon",   "kan",   "zero",   "nova",   "lucky", "tiger",
    "sora",  "umi",  "yama",  "kumo", "hoshi", "moon",  "jade",   "ace",    "kenji", "hiro",
    "naoki", "mika", "emi",   "rin",  "kaito", "shota", "daichi", "yuto",   "mei",   "nana",
};
constexpr std::string_view kAsciiEndings[] = {"",    "",    "",    "_x",   "77",   "jr", "2",
                                              "_jp", "kun", "999", "X",    "-san", "21", "_",
                                              "01",  "mk2", "_R",  "1985", "x3"};

std::vector<std::string> MakeNamePool(Random& random, std::string_view player) {
    std::set<std::string> seen{std::string(player)};
    std::vector<std::string> names;
    auto add = [&](std::string name) {
        if (seen.insert(name).second) names.push_back(std::move(name));
    };
    while (names.size() < 140) {
        std::string name(kAsciiStems[random.Below(std::size(kAsciiStems))]);
        if (random.Chance(0.3)) name[0] = static_cast<char>(name[0] - 'a' + 'A');
        name += kAsciiEndings[random.Below(std::size(kAsciiEndings))];
        add(std::move(name));
    }
    while (names.size() < 290) {
        std::string name(w::kJapaneseNameStems[random.Below(std::size(w::kJapaneseNameStems))]);
        name += w::kJapaneseNameEndings[random.Below(std::size(w::kJapaneseNameEndings))];
        add(std::move(name));
    }
    while (names.size() < 310) {
        std::string name = "Guest";
        AppendInt(name, random.Between(100, 999));
        add(std::move(name));
    }
    // Shuffled so that the popular opponents are a mix of both kinds of name.
    for (std::size_t i = names.size() - 1; i > 0; --i) {
        std::swap(names[i], names[random.Below(static_cast<int>(i + 1))]);
    }
    return names;
}

struct Person {
    std::string name;
    double skill = 1600;
    int rating = 1500;
    std::int64_t gamesPlayed = 0;
    std::int64_t lastSeen = 0;  // index of the last game this person was drawn for
};

enum class Outcome {
    Ron,
    Tsumo,
    Draw,
    Nagashi,
    NineTerminals,
    FourWinds,
    FourRiichi,
    TripleRon,
    FourKans,
    Chombo
};

// Indexes into the draw words.
int DrawWordIndex(Outcome outcome) {
    switch (outcome) {
        case Outcome::Draw:
            return 0;
        case Outcome::Nagashi:
            return 1;
        case Outcome::NineTerminals:
            return 2;
        case Outcome::FourWinds:
            return 3;
        case Outcome::FourRiichi:
            return 4;
        case Outcome::TripleRon:
            return 5;
        case Outcome::FourKans:
            return 6;
        default:
            return 0;
    }
}

int RoundUp100(int value) {
    return (value + 99) / 100 * 100;
}

// The base points of a han class; for one to four han, fu * 2^(2 + han).
int BasePoints(int hanClass, int han, int fu) {
    switch (hanClass) {
        case 5:
            return 2000;
        case 6:
            return 3000;
        case 7:
            return 4000;
        case 8:
            return 6000;
        case 9:
            return 8000;
        default:
            return fu << (2 + han);
    }
}

int HanClassOf(int han, int fu) {
    if (han >= 13) return 9;
    if (han >= 11) return 8;
    if (han >= 8) return 7;
    if (han >= 6) return 6;
    if (han == 5 || (fu << (2 + han)) > 2000) return 5;
    return han;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::uint64_t Random::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Random::Below(int n) {
    return static_cast<int>(Next() % static_cast<std::uint64_t>(n));
}

double Random::Unit() {
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double Random::Bell() {
    return (Unit() + Unit() + Unit() + Unit() - 2.0) * std::sqrt(3.0);
}

int Random::Pick(const std::vector<double>& weights) {
    double total = 0;
    for (double weight : weights) total += weight;
    double x = Unit() * total;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (x < weights[i]) return static_cast<int>(i);
        x -= weights[i];
    }
    return static_cast<int>(weights.size()) - 1;
}

// ---------------------------------------------------------------------------------------------

struct LogGenerator::State {
    GeneratorOptions options;
    Random random;
    std::string newline;
    Person user;
    std::vector<Person> pool;
    std::vector<double> poolWeights;
    std::int64_t clock = 0;  // local minutes since 1970 at which the last game ended
    std::int64_t firstMinute = 0;
    std::int64_t meanSessionGap = 0;
    int sessionGamesLeft = 0;
    std::int64_t gameIndex = 0;

    explicit State(const GeneratorOptions& o) : options(o), random(o.seed), newline(o.crlf ? "\r\n" : "\n") {
        user.name = options.player.empty() ? std::string(w::kDefaultPlayer) : options.player;
        user.skill = 1680;
        user.rating = 1500;
        for (std::string& name : MakeNamePool(random, user.name)) {
            Person person;
            person.name = std::move(name);
            person.skill = std::clamp(1600 + 140 * random.Bell(), 1150.0, 2150.0);
            person.rating = static_cast<int>(std::lround(person.skill + 90 * random.Bell()));
            if (person.name.starts_with("Guest")) person.rating = 1500;
            pool.push_back(std::move(person));
        }
        // Zipf-like popularity: some opponents turn up in a tenth of the games.
        for (std::size_t i = 0; i < pool.size(); ++i) poolWeights.push_back(1.0 / static_cast<double>(i + 8));

        const std::int64_t expected = std::max<std::int64_t>(
            1, options.sizeBytes > 0 ? options.sizeBytes / kAverageGameBytes : options.games);
        const std::int64_t sessions = std::max<std::int64_t>(1, expected / kMeanSessionGames);
        meanSessionGap = std::max<std::int64_t>(10, kSpanMinutes / sessions - kMeanSessionGames * 36);
        // The first session starts somewhere in the first half of a gap, not on New Year.
        firstMinute = DaysFromCivil(options.firstYear, 1, 1) * 1440;
        clock = firstMinute - meanSessionGap / 2;
    }

    std::int64_t NextStart() {
        if (sessionGamesLeft > 0) {
            --sessionGamesLeft;
            return clock + random.Between(0, 6);
        }
        sessionGamesLeft = random.Between(0, 2 * kMeanSessionGames - 2);
        // Half to one and a half times the mean, so that a small log still ends within the span.
        const double gap = (0.5 + random.Unit()) * static_cast<double>(meanSessionGap);
        if (meanSessionGap < 1440) return clock + 10 + static_cast<std::int64_t>(gap);
        const std::int64_t day = FloorDiv(clock, 1440) + static_cast<std::int64_t>(gap / 1440.0);
        std::vector<double> hours(kHourWeights.begin(), kHourWeights.end());
        std::int64_t start = day * 1440 + random.Pick(hours) * 60 + random.Below(60);
        while (start < clock + 15 || start < firstMinute) start += 1440;
        return start;
    }

    // The opponents drawn for a game have played elsewhere since they were last seen here.
    void Refresh(Person& person) {
        const double steps = std::min<double>(200, static_cast<double>(gameIndex - person.lastSeen));
        person.lastSeen = gameIndex;
        if (person.name.starts_with("Guest") || steps <= 0) return;
        double r = person.rating + 2.5 * std::sqrt(steps) * random.Bell();
        r += (person.skill - r) * 0.3 * steps / 200.0;
        person.rating = std::clamp(static_cast<int>(std::lround(r)), 1000, 2500);
    }

    void AppendLine(std::string& out, const std::string& line) const {
        out += line;
        out += newline;
    }

    void WriteGame(std::string& out);
};

namespace {

struct Win {
    int hanClass = 0;
    int han = 0;
    int fu = 30;
    std::vector<std::string> yaku;
};

// Yaku that add up to roughly the han class drawn, at most four names in all.
Win MakeWin(Random& random, bool riichi, bool tsumo) {
    Win win;
    static const std::vector<double> classWeights = {0, 19, 28, 20, 8, 15, 3.5, 1.1, 0.2, 0.2};
    const int target = random.Pick(classWeights);
    if (target == 9) {
        win.hanClass = 9;
        win.han = 13;
        win.yaku.emplace_back(w::kYakuman[random.Below(std::size(w::kYakuman))]);
        if (random.Chance(0.05)) win.yaku.emplace_back(w::kYakuman[random.Below(std::size(w::kYakuman))]);
        if (win.yaku.size() == 2 && win.yaku[0] == win.yaku[1]) win.yaku.pop_back();
        return win;
    }
    const int targetHan = target <= 4   ? target
                          : target == 5 ? 5
                          : target == 6 ? random.Between(6, 7)
                          : target == 7 ? random.Between(8, 10)
                                        : random.Between(11, 12);
    if (riichi) {
        win.yaku.emplace_back(random.Chance(0.04) ? w::kDoubleRiichiYaku : w::kRiichiYaku);
        win.han += win.yaku.back() == w::kRiichiYaku ? 1 : 2;
        if (random.Chance(0.15)) {
            win.yaku.emplace_back(w::kIppatsuYaku);
            ++win.han;
        }
    }
    if (tsumo && (riichi || random.Chance(0.35))) {
        win.yaku.emplace_back(w::kMenzenTsumoYaku);
        ++win.han;
    }
    std::vector<double> yakuWeights;
    for (const w::Yaku& yaku : w::kYaku) yakuWeights.push_back(yaku.weight);
    unsigned shape = tsumo ? w::kTsumoWin : w::kRonWin;
    unsigned excludes = 0;
    for (int tries = 0; tries < 8 && win.han < targetHan && win.yaku.size() < 3; ++tries) {
        const w::Yaku& yaku = w::kYaku[random.Pick(yakuWeights)];
        const bool have = std::find(win.yaku.begin(), win.yaku.end(), yaku.name) != win.yaku.end();
        if (have || win.han + yaku.han > targetHan || (yaku.shape & excludes) != 0 ||
            (yaku.excludes & shape) != 0) {
            continue;
        }
        win.yaku.emplace_back(yaku.name);
        win.han += yaku.han;
        shape |= yaku.shape;
        excludes |= yaku.excludes;
    }
    if (win.yaku.empty()) {
        win.yaku.emplace_back(w::kYaku[3].name);  // a value tile is the fallback yaku
        win.han = 1;
    }
    // Dora make up the rest: plain, red and (after a riichi) underneath, in up to two names.
    int rest = targetHan - win.han;
    while (rest > 0 && win.yaku.size() < 4) {
        const bool last = win.yaku.size() == 3 || rest == 1 || random.Chance(0.5);
        const int count = last ? rest : random.Between(1, rest - 1);
        std::string name(riichi && random.Chance(0.3) ? w::kUraDora
                         : random.Chance(0.3)         ? w::kRedDora
                                                      : w::kDora);
        AppendInt(name, count);
        const bool duplicate = std::find_if(win.yaku.begin(), win.yaku.end(), [&](const std::string& y) {
                                   return y.substr(0, 2) == name.substr(0, 2);
                               }) != win.yaku.end();
        if (duplicate && !last) continue;
        win.yaku.push_back(std::move(name));
        win.han += count;
        rest -= count;
    }
    static const std::vector<double> fuWeights = {50, 30, 10, 5, 3, 2};
    static constexpr int kFu[] = {30, 40, 50, 60, 70, 80};
    win.fu = (shape & w::kPinfu) != 0        ? (tsumo ? 20 : 30)
             : (shape & w::kSevenPairs) != 0 ? 25
                                             : kFu[random.Pick(fuWeights)];
    win.hanClass = HanClassOf(win.han, win.fu);
    return win;
}

}  // namespace

void LogGenerator::State::WriteGame(std::string& out) {
    ++gameIndex;
    const int n = random.Chance(options.threePlayerShare) ? 3 : 4;
    const bool eastSouth = random.Chance(0.55);
    const bool withUser = !random.Chance(options.othersShare);

    // Seats: the user (unless this is someone else's game) and opponents by popularity.
    std::vector<Person*> seats;
    if (withUser) seats.push_back(&user);
    while (static_cast<int>(seats.size()) < n) {
        Person* person = &pool[random.Pick(poolWeights)];
        if (std::find(seats.begin(), seats.end(), person) == seats.end()) {
            Refresh(*person);
            seats.push_back(person);
        }
    }
    for (int i = n - 1; i > 0; --i) std::swap(seats[i], seats[random.Below(i + 1)]);

    const std::int64_t start = NextStart();
    const int startPoints = n == 4 ? 25000 : 35000;

    // Header.
    std::string line = "===== ";
    line += w::kGameWord;
    line += ' ';
    if (n == 3) {
        line += w::kThreePlayerWord;
        line += ' ';
    }
    static const std::vector<double> tableWeights = {45, 25, 12, 12, 6};
    switch (random.Pick(tableWeights)) {
        case 0:
            line += w::kRankingWord;
            line += ' ';
            break;
        case 1:
            line += w::kAdvancedWord;
            line += ' ';
            break;
        case 2:
            line += w::kSuperAdvancedWord;
            line += ' ';
            break;
        case 3:
            line += w::kOtherTableWords[random.Below(std::size(w::kOtherTableWords))];
            line += ' ';
            break;
        default:
            break;  // no table word at all
    }
    line += eastSouth ? w::kEastSouth : w::kEastOnly;
    line += ' ';
    line += w::kStartWord;
    line += ' ';
    AppendDateTime(line, start);
    line += " =====";
    AppendLine(out, line);

    // Seat line.
    line = "    ";
    line += w::kStartPointsWord;
    AppendInt(line, startPoints);
    for (int i = 0; i < n; ++i) {
        line += " [";
        AppendInt(line, i + 1);
        line += ']';
        line += seats[i]->name;
        line += " R";
        AppendInt(line, seats[i]->rating);
    }
    AppendLine(out, line);

    // Hands.
    std::array<int, 4> scores{};
    std::fill_n(scores.begin(), n, startPoints);
    std::vector<double> winWeights(n);
    for (int i = 0; i < n; ++i) winWeights[i] = std::clamp(1.0 + (seats[i]->skill - 1600) / 700, 0.4, 2.0);
    const int lastRound = eastSouth ? 1 : 0;
    int round = 0, dealer = 0, honba = 0, pot = 0, hands = 0;
    static const std::vector<double> outcomeWeights4 = {470, 330, 160, 2, 12, 3, 1, 1, 1, 3};
    static const std::vector<double> outcomeWeights3 = {470, 340, 150, 2, 12, 0, 0, 0, 1, 3};
    bool gameOver = false;
    while (!gameOver) {
        Outcome outcome = static_cast<Outcome>(random.Pick(n == 4 ? outcomeWeights4 : outcomeWeights3));
        std::array<int, 4> delta{};
        std::array<bool, 4> riichi{};
        int declared = 0;
        auto declare = [&](int seat) {
            if (!riichi[seat] && scores[seat] >= 1000) {
                riichi[seat] = true;
                delta[seat] -= 1000;
                ++declared;
            }
        };
        if (outcome == Outcome::FourRiichi && *std::min_element(scores.begin(), scores.begin() + n) < 1000) {
            outcome = Outcome::Draw;
        }
        // Seats listed first on the hand's line: the winner (then the discarder), the nagashi
        // player or the offender. The tally reads the first entry of a win as its winner.
        std::vector<int> lead;
        std::string result = "    ";
        bool dealerKeeps = false;
        bool advance = true;
        switch (outcome) {
            case Outcome::Ron:
            case Outcome::Tsumo: {
                const bool tsumo = outcome == Outcome::Tsumo;
                const int winner = random.Pick(winWeights);
                lead.push_back(winner);
                if (random.Chance(0.42)) declare(winner);
                for (int i = 0; i < n; ++i) {
                    if (i != winner && random.Chance(0.12)) declare(i);
                }
                const Win win = MakeWin(random, riichi[winner], tsumo);
                const int base = BasePoints(win.hanClass, win.han, win.fu);
                int gain = 0;
                if (tsumo) {
                    for (int i = 0; i < n; ++i) {
                        if (i == winner) continue;
                        const int pay =
                            RoundUp100((winner == dealer || i == dealer ? 2 : 1) * base) + 100 * honba;
                        delta[i] -= pay;
                        gain += pay;
                    }
                } else {
                    int loser = random.Below(n - 1);
                    if (loser >= winner) ++loser;
                    const int pay = RoundUp100((winner == dealer ? 6 : 4) * base) + 300 * honba;
                    delta[loser] -= pay;
                    gain += pay;
                    lead.push_back(loser);
                }
                delta[winner] += gain + 1000 * (pot + declared);
                const bool showFu =
                    win.hanClass <= 4 ? random.Chance(0.6) : win.hanClass == 5 && random.Chance(0.2);
                if (showFu) {
                    AppendInt(result, win.fu);
                    result += w::kFuWord;
                    result += ' ';
                }
                result += w::kHanWords[win.hanClass];
                result += tsumo ? w::kTsumo : w::kRon;
                for (const std::string& yaku : win.yaku) {
                    result += ' ';
                    result += yaku;
                }
                dealerKeeps = winner == dealer;
                break;
            }
            case Outcome::Draw: {
                std::array<bool, 4> tenpai{};
                int tenpaiCount = 0;
                for (int i = 0; i < n; ++i) {
                    if (random.Chance(0.14)) declare(i);
                    tenpai[i] = riichi[i] || random.Chance(0.4);
                    tenpaiCount += tenpai[i];
                }
                if (tenpaiCount > 0 && tenpaiCount < n) {
                    for (int i = 0; i < n; ++i) {
                        delta[i] += tenpai[i] ? 3000 / tenpaiCount : -3000 / (n - tenpaiCount);
                    }
                }
                dealerKeeps = tenpai[dealer];
                break;
            }
            case Outcome::Nagashi: {
                const int player = random.Below(n);
                lead.push_back(player);
                for (int i = 0; i < n; ++i) {
                    if (i == player) continue;
                    const int pay = (player == dealer || i == dealer) ? 4000 : 2000;
                    delta[i] -= pay;
                    delta[player] += pay;
                }
                dealerKeeps = player == dealer;
                break;
            }
            case Outcome::FourRiichi:
                for (int i = 0; i < n; ++i) declare(i);
                dealerKeeps = true;
                break;
            case Outcome::TripleRon:
            case Outcome::FourKans:
                if (random.Chance(0.3)) declare(random.Below(n));
                dealerKeeps = true;
                break;
            case Outcome::NineTerminals:
            case Outcome::FourWinds:
                dealerKeeps = true;
                break;
            case Outcome::Chombo: {
                const int offender = random.Below(n);
                lead.push_back(offender);
                for (int i = 0; i < n; ++i) {
                    if (i == offender) continue;
                    const int pay = (offender == dealer || i == dealer) ? 4000 : 2000;
                    delta[i] += pay;
                    delta[offender] -= pay;
                }
                result += w::kChombo;
                advance = false;
                break;
            }
        }
        const bool isWin = outcome == Outcome::Ron || outcome == Outcome::Tsumo;
        if (!isWin && outcome != Outcome::Chombo) result += w::kDrawWords[DrawWordIndex(outcome)];
        // The label shows the sticks on the table: those left from draws and this hand's.
        const int sticks = pot + declared;
        pot = isWin ? 0 : sticks;

        // First line: label, then the nonzero changes, the winner (or the like) first.
        line = "  ";
        line += round == 0 ? w::kEast : w::kSouth;
        AppendInt(line, dealer + 1);
        line += w::kHandWord;
        line += ' ';
        AppendInt(line, honba);
        line += w::kHonbaWord;
        line += w::kRiichiOpen;
        AppendInt(line, sticks);
        line += ')';
        for (int i = 0; i < n; ++i) {
            if (std::find(lead.begin(), lead.end(), i) == lead.end()) lead.push_back(i);
        }
        for (const int i : lead) {
            if (delta[i] == 0) continue;
            line += ' ';
            line += seats[i]->name;
            line += ' ';
            AppendSigned(line, delta[i]);
        }
        AppendLine(out, line);
        AppendLine(out, result);
        for (int i = 0; i < n; ++i) scores[i] += delta[i];
        ++hands;

        // Who deals next, and whether the game is over.
        if (hands >= kMaxHandsPerGame) break;
        if (*std::min_element(scores.begin(), scores.begin() + n) < 0) break;  // someone is boxed out
        if (!advance) continue;
        if (dealerKeeps) {
            ++honba;
            const bool allLast = round == lastRound && dealer == n - 1;
            bool dealerTop = true;
            for (int i = 0; i < n; ++i) dealerTop = dealerTop && (i == dealer || scores[i] < scores[dealer]);
            if (allLast && dealerTop) gameOver = true;
        } else {
            honba = isWin ? 0 : honba + 1;
            if (++dealer == n) {
                dealer = 0;
                gameOver = ++round > lastRound;
            }
        }
    }

    // Result section: placings by final score, the earlier seat ahead on equal scores.
    std::vector<int> byRank(n);
    for (int i = 0; i < n; ++i) byRank[i] = i;
    std::stable_sort(byRank.begin(), byRank.end(), [&](int a, int b) { return scores[a] > scores[b]; });
    static constexpr int kUma4[] = {0, 10, -10, -20};
    static constexpr int kUma3[] = {0, 0, -20};
    const int returnPoints = n == 4 ? 30000 : 40000;
    std::array<int, 4> points{};
    int others = 0;
    for (int r = 1; r < n; ++r) {
        const int seat = byRank[r];
        points[seat] = static_cast<int>(FloorDiv(scores[seat] - returnPoints + 500, 1000)) +
                       (n == 4 ? kUma4[r] : kUma3[r]);
        others += points[seat];
    }
    points[byRank[0]] = -others;
    AppendLine(out, std::string(w::kResultHeader));
    for (int r = 0; r < n; ++r) {
        line.clear();
        AppendInt(line, r + 1);
        line += w::kPlaceWord;
        line += ' ';
        line += seats[byRank[r]]->name;
        line += ' ';
        AppendSigned(line, points[byRank[r]]);
        AppendLine(out, line);
    }

    // Ratings move with the placing and the table's average.
    static constexpr int kRankBase4[] = {30, 10, -10, -30};
    static constexpr int kRankBase3[] = {30, 0, -30};
    std::array<int, 4> newRatings{};
    for (int r = 0; r < n; ++r) {
        Person& person = *seats[byRank[r]];
        double othersAverage = 0;
        for (int i = 0; i < n; ++i) {
            if (seats[i] != &person) othersAverage += seats[i]->rating;
        }
        othersAverage /= n - 1;
        const double k = std::max(0.2, 1.0 - 0.002 * static_cast<double>(person.gamesPlayed));
        const double change =
            k * ((n == 4 ? kRankBase4[r] : kRankBase3[r]) + (othersAverage - person.rating) / 40);
        newRatings[byRank[r]] = person.rating + static_cast<int>(std::lround(change));
    }
    for (int i = 0; i < n; ++i) {
        if (!seats[i]->name.starts_with("Guest")) seats[i]->rating = newRatings[i];
        ++seats[i]->gamesPlayed;
    }

    // End line.
    const int minutes =
        std::clamp(static_cast<int>(hands * random.Between(20, 32) / 10) + random.Between(2, 6), 10, 60);
    clock = start + minutes;
    line = "  ";
    line += w::kEndWord;
    line += ' ';
    AppendDateTime(line, clock);
    line += " -----";
    AppendLine(out, line);
}

// ---------------------------------------------------------------------------------------------

LogGenerator::LogGenerator(const GeneratorOptions& options) : state_(std::make_unique<State>(options)) {}

LogGenerator::~LogGenerator() = default;

void LogGenerator::WriteGame(std::string& out) {
    state_->WriteGame(out);
    ++gamesWritten_;
}

const std::string& LogGenerator::player() const {
    return state_->user.name;
}

std::string GenerateLog(const GeneratorOptions& options) {
    LogGenerator generator(options);
    std::string out;
    while (options.sizeBytes > 0 ? static_cast<std::int64_t>(out.size()) < options.sizeBytes
                                 : generator.gamesWritten() < options.games) {
        generator.WriteGame(out);
    }
    return out;
}

std::int64_t WriteLog(const GeneratorOptions& options, std::FILE* file) {
    LogGenerator generator(options);
    std::string chunk;
    std::int64_t written = 0;
    while (options.sizeBytes > 0 ? written < options.sizeBytes : generator.gamesWritten() < options.games) {
        chunk.clear();
        generator.WriteGame(chunk);
        if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) return -1;
        written += static_cast<std::int64_t>(chunk.size());
    }
    return std::fflush(file) == 0 ? generator.gamesWritten() : -1;
}

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
    std::optional<std::string> converted = base::Utf8BytesToCp932(utf8);
    if (!converted) return false;
    cp932 = std::move(*converted);
    return true;
}

}  // namespace obrenta::tools
