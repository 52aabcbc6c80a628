#include "present/ListCaptions.h"

#include <array>

#include "present/TextCodec.h"

namespace obrenta::present {

const std::string& ListCaption(ListId list) {
    static const std::array<std::string, kListCount> captions = [] {
        std::array<std::string, kListCount> texts;
        auto set = [&texts](ListId id, const char* utf8) {
            texts[static_cast<int>(id)] = Cp932Literal(utf8);
        };
        set(ListId::RankTable, "平均順位の右の数値は予測R (対戦相手の平均R + 3000 − 1200 × 平均順位)");
        set(ListId::HandOutcomeTable,
            "得点・なし・失点: 自分の点数が増えた・変わらなかった・減った局の数、全局に対する割合、"
            "平均増減点");
        set(ListId::LastHandTable,
            "行: オーラスを迎えたときの順位、列: 最終順位ごとの試合数、平均: 順位の平均変化 (+ は下がった)");
        set(ListId::LastHandWonTable, "オーラスで和了した試合だけを、上と同じ形で数えます");
        return texts;
    }();
    return captions[static_cast<int>(list)];
}

}  // namespace obrenta::present
