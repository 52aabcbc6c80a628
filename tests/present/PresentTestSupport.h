#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "present/TextCodec.h"
#include "scorelog/GameRecord.h"
#include "scorelog/NamePool.h"
#include "settings/AppSettings.h"
#include "support/TestSupport.h"

namespace obrenta::present::test {

using obrenta::test::LocalSeconds;
using obrenta::test::Sj;

// Code page 932 text back to UTF-8, so that expectations read as text.
inline std::string U8(std::string_view cp932) {
    return Cp932ToUtf8(cp932);
}

// Settings whose only user ID in use is "me".
inline settings::AppSettings MeSettings() {
    settings::AppSettings s;
    s.userIdCount = 1;
    s.userIds[0] = "me";
    s.userIdEnabled[0] = 1;
    return s;
}

// A four-player game in which "me" sits at seat 0 with the given rating, points and rank.
inline scorelog::GameRecord MyGame(const scorelog::NamePoolPtr& pool, int rating, int points, int rank,
                                   std::int64_t start = 0) {
    scorelog::GameRecord game;
    game.names = pool;
    game.playerCount = 4;
    const char* names[] = {"me", "a", "b", "c"};
    for (int k = 0; k < 4; ++k) {
        game.seats[k].name = pool->Intern(names[k]);
        game.seats[k].rating = k == 0 ? rating : 1500;
        game.seats[k].rank = k == 0 ? rank : (k < rank ? k : k + 1);
    }
    game.seats[0].points = points;
    game.startTime = start;
    game.endTime = start + 1800;
    game.SetHands({});
    return game;
}

}  // namespace obrenta::present::test
