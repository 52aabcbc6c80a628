#include "scorelog/GameRecord.h"

namespace obrenta::scorelog {

const HandList& GameRecord::Hands() const {
    static const HandList kNoHands;
    return hands ? *hands : kNoHands;
}

void GameRecord::SetHands(HandList list) {
    handCount = static_cast<std::int32_t>(list.size());
    hands = std::make_shared<HandList>(std::move(list));
}

std::int32_t GameRecord::FindSeatByName(NameId name) const {
    for (std::int32_t k = 0; k < playerCount && k < 4; ++k) {
        if (seats[k].name == name) return k;
    }
    return -1;
}

std::int32_t GameRecord::FindSeatByName(std::string_view name) const {
    if (!names) return -1;
    const auto id = names->Find(name.substr(0, kMaxNameBytes));
    return id ? FindSeatByName(*id) : -1;
}

}  // namespace obrenta::scorelog
