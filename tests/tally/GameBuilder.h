#pragma once

#include <ctime>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/NamePool.h"
#include "settings/AppSettings.h"
#include "support/TestSupport.h"

namespace obrenta::tally::test {

using scorelog::GameRecord;
using scorelog::HanClass;
using scorelog::HandKind;
using scorelog::HandRecord;
using scorelog::NamePool;
using scorelog::NamePoolPtr;
using scorelog::TableKind;

// Seconds of a local calendar time, as the parser makes them.
inline std::int64_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return obrenta::test::LocalSeconds(year, month, day, hour, minute, second);
}

struct SeatSpec {
    std::string name;
    int rating = 1500;
    int points = 0;
    int rank = 1;
};

struct Entry {
    std::string name;
    int delta = 0;
};

struct HandSpec {
    HandKind kind = HandKind::ExhaustiveDraw;
    std::vector<Entry> entries;
    HanClass han = HanClass::None;
    std::vector<std::string> yaku;
};

// Builds games the way the parser would leave them: names interned in a shared pool, rating
// ranks from the ratings, handCount from the hands.
class GameBuilder {
public:
    explicit GameBuilder(NamePoolPtr pool = std::make_shared<NamePool>()) : pool_(std::move(pool)) {}

    GameBuilder& Seats(std::vector<SeatSpec> seats) {
        seats_ = std::move(seats);
        return *this;
    }
    GameBuilder& Start(std::int64_t t) {
        start_ = t;
        return *this;
    }
    GameBuilder& Length(std::int64_t seconds) {
        length_ = seconds;
        return *this;
    }
    GameBuilder& Kind(TableKind kind) {
        kind_ = kind;
        return *this;
    }
    GameBuilder& EastSouth(bool eastSouth) {
        eastSouth_ = eastSouth;
        return *this;
    }
    GameBuilder& StartPoints(int points) {
        startPoints_ = points;
        return *this;
    }
    GameBuilder& Hand(HandSpec hand) {
        hands_.push_back(std::move(hand));
        return *this;
    }
    GameBuilder& ClearHands() {
        hands_.clear();
        return *this;
    }

    GameRecord Build() const {
        GameRecord g;
        g.names = pool_;
        g.playerCount = static_cast<std::int32_t>(seats_.size());
        for (std::size_t k = 0; k < seats_.size() && k < 4; ++k) {
            auto& seat = g.seats[k];
            seat.name = pool_->Intern(seats_[k].name);
            seat.rating = seats_[k].rating;
            seat.points = seats_[k].points;
            seat.rank = seats_[k].rank;
            seat.ratingRank = 1;
            for (const auto& other : seats_) {
                if (other.rating > seats_[k].rating) {
                    ++seat.ratingRank;
                }
            }
        }
        g.eastSouth = eastSouth_;
        g.tableKind = kind_;
        g.startPoints = startPoints_;
        g.startTime = start_;
        g.endTime = start_ + length_;
        std::vector<HandRecord> list;
        std::vector<std::vector<scorelog::NameId>> yaku(hands_.size());
        for (const auto& planned : hands_) {
            HandRecord h;
            h.kind = planned.kind;
            h.hanClass = planned.han;
            h.entryCount = static_cast<std::int32_t>(planned.entries.size());
            for (std::size_t i = 0; i < planned.entries.size() && i < 4; ++i) {
                h.entryNames[i] = pool_->Intern(planned.entries[i].name);
                h.entryDeltas[i] = planned.entries[i].delta;
            }
            std::vector<scorelog::NameId>& ids = yaku[list.size()];
            for (const auto& y : planned.yaku) {
                ids.push_back(pool_->Intern(y));
            }
            h.yaku = scorelog::YakuList(ids);
            list.push_back(h);
        }
        g.handCount = static_cast<std::int32_t>(list.size());
        g.SetHands(list);
        return g;
    }

    const NamePoolPtr& pool() const { return pool_; }

private:
    NamePoolPtr pool_;
    std::vector<SeatSpec> seats_{
        {"me", 1500, 10, 1}, {"A", 1600, 5, 2}, {"B", 1700, -5, 3}, {"C", 1800, -10, 4}};
    std::int64_t start_ = LocalTime(2024, 5, 18, 21, 4);
    std::int64_t length_ = 2640;
    TableKind kind_ = TableKind::Ranking;
    bool eastSouth_ = true;
    int startPoints_ = 25000;
    std::vector<HandSpec> hands_;
};

// Settings that let every game of "me" through.
inline settings::AppSettings OpenSettings() {
    settings::AppSettings s;
    s.userIdCount = 1;
    s.userIds = {"me", "", "", "", ""};
    s.userIdEnabled = {1, 1, 1, 1, 1};
    s.dateFrom = 0;
    s.dateTo = LocalTime(2037, 12, 31, 23, 59, 59);
    s.recentCount = 10000;
    return s;
}

}  // namespace obrenta::tally::test
