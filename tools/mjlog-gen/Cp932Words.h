#pragma once

// The fixed Japanese texts of the score log as code page 932 bytes (the comment shows each one
// as it reads). Kept as byte literals so the output doesn't depend on the compiler's execution
// character set. A literal is split ("\x98" "a") where the next character is a hex digit,
// which an escape would otherwise swallow.

#include <string_view>

// clang-format off
namespace obrenta::tools::cp932 {

// Han words, indexed by the han class.
inline constexpr std::string_view kHanWords[] = {
    "",                                          // (no han class)
    "\x88\xea\xe3\xca",                          // 一飜
    "\x93\xf1\xe3\xca",                          // 二飜
    "\x8eO\xe3\xca",                             // 三飜
    "\x8el\xe3\xca",                             // 四飜
    "\x96\x9e\x8a\xd1",                          // 満貫
    "\x83n\x83l\x96\x9e",                        // ハネ満
    "\x94{\x96\x9e",                             // 倍満
    "\x82R\x94{\x96\x9e",                        // ３倍満
    "\x96\xf0\x96\x9e",                          // 役満
};
inline constexpr std::string_view kDrawWords[] = {
    "\x97\xac\x8b\xc7",                          // 流局
    "\x97\xac\x82\xb5\x96\x9e\x8a\xd1",          // 流し満貫
    "\x8b\xe3\x8e\xed\x8c\xf6\x8b\xe3\x94v\x93|\x94v", // 九種公九牌倒牌
    "\x8el\x95\x97\x98" "A\x91\xc5",             // 四風連打
    "\x8el\x89\xc6\x83\x8a\x81[\x83`",           // 四家リーチ
    "\x8eO\x89\xc6\x98" "a",                     // 三家和
    "\x8el\x8aJ\x9e\xc8",                        // 四開槓
};
inline constexpr std::string_view kOtherTableWords[] = {
    "\x88\xea\x94\xca",                          // 一般
    "\x8c\xc2\x8e\xba",                          // 個室
    "\x91\xe5\x89\xef",                          // 大会
};
inline constexpr std::string_view kGameWord = "\x91\xce\x8b\xc7";  // 対局
inline constexpr std::string_view kEastOnly = "\x93\x8c\x95\x97\x90\xed";  // 東風戦
inline constexpr std::string_view kEastSouth = "\x93\x8c\x93\xec\x90\xed";  // 東南戦
inline constexpr std::string_view kStartWord = "\x8aJ\x8en";  // 開始
inline constexpr std::string_view kStartPointsWord = "\x8e\x9d\x93_";  // 持点
inline constexpr std::string_view kEndWord = "\x8fI\x97\xb9";  // 終了
// "  ---- 試合結果 ----"
inline constexpr std::string_view kResultHeader = "  ---- \x8e\x8e\x8d\x87\x8c\x8b\x89\xca ----";
inline constexpr std::string_view kPlaceWord = "\x88\xca";  // 位
inline constexpr std::string_view kHandWord = "\x8b\xc7";  // 局
inline constexpr std::string_view kHonbaWord = "\x96{\x8f\xea";  // 本場
inline constexpr std::string_view kRiichiOpen = "(\x83\x8a\x81[\x83`";  // (リーチ
inline constexpr std::string_view kEast = "\x93\x8c";  // 東
inline constexpr std::string_view kSouth = "\x93\xec";  // 南
inline constexpr std::string_view kFuWord = "\x95\x84";  // 符
inline constexpr std::string_view kSuperAdvancedWord = "\x92\xb4\x8f\xe3\x8b\x89";  // 超上級
inline constexpr std::string_view kAdvancedWord = "\x8f\xe3\x8b\x89";  // 上級
inline constexpr std::string_view kRankingWord =
    "\x83\x89\x83\x93\x83L\x83\x93\x83O";  // ランキング
inline constexpr std::string_view kThreePlayerWord = "\x8eO\x90l\x91\xc5\x82\xbf";  // 三人打ち
inline constexpr std::string_view kRon = "\x83\x8d\x83\x93";  // ロン
inline constexpr std::string_view kTsumo =
    "\x83" "c\x83\x82";                                                                // ツモ
inline constexpr std::string_view kChombo = "\x83`\x83\x87\x83\x93\x83{";  // チョンボ
inline constexpr std::string_view kDora = "\x83h\x83\x89";  // ドラ
inline constexpr std::string_view kRedDora = "\x90\xd4";  // 赤
inline constexpr std::string_view kUraDora = "\x97\xa0\x83h\x83\x89";  // 裏ドラ
inline constexpr std::string_view kDefaultPlayer = "\x82\xd2\x82\xe6\x8a\xdb";  // ぴよ丸
inline constexpr std::string_view kRiichiYaku = "\x97\xa7\x92\xbc";  // 立直
inline constexpr std::string_view kDoubleRiichiYaku =
    "\x83_\x83u\x83\x8b\x97\xa7\x92\xbc";                             // ダブル立直
inline constexpr std::string_view kIppatsuYaku = "\x88\xea\x94\xad";  // 一発
inline constexpr std::string_view kMenzenTsumoYaku =
    "\x96\xe5\x91O\x90\xb4\x8e\xa9\x96\xcc\x98" "a";  // 門前清自摸和
inline constexpr std::string_view kYakuman[] = {
    "\x8d\x91\x8em\x96\xb3\x91o",                // 国士無双
    "\x8el\x88\xc3\x8d\x8f",                     // 四暗刻
    "\x91\xe5\x8eO\x8c\xb3",                     // 大三元
    "\x8e\x9a\x88\xea\x90" "F",                  // 字一色
    "\x97\xce\x88\xea\x90" "F",                  // 緑一色
    "\x8f\xac\x8el\x8a\xec",                     // 小四喜
    "\x91\xe5\x8el\x8a\xec",                     // 大四喜
    "\x90\xb4\x98V\x93\xaa",                     // 清老頭
    "\x8b\xe3\x98@\x95\xf3\x93\x95",             // 九蓮宝燈
    "\x8el\x9e\xc8\x8eq",                        // 四槓子
    "\x93V\x98" "a",                             // 天和
    "\x92n\x98" "a",                             // 地和
};

// What a yaku says about the hand's shape, so that a win never lists two yaku that exclude
// each other (all-sequence pinfu with a value triplet, seven pairs with a sequence, ...).
enum YakuShape : unsigned {
    kSequence = 1,
    kTriplet = 2,
    kPinfu = 4,
    kSevenPairs = 8,
    kAllTriplets = 16,
    kPeikou = 32,
    kTerminals = 64,  // terminals or honours in the hand
    kFlush = 128,
    kTsumoWin = 256,
    kRonWin = 512,
};

struct Yaku {
    std::string_view name;
    int han;
    int weight;         // relative frequency among the wins, in tenths
    unsigned shape;     // YakuShape bits the yaku has
    unsigned excludes;  // YakuShape bits it can't be combined with
};

inline constexpr Yaku kYaku[] = {
    {"\x95\xbd\x98" "a", 1, 200, kSequence | kPinfu, kTriplet | kSevenPairs},  // 平和
    {"\x92" "f\x9b\xf4\x8b\xe3", 1, 250, 0, kTerminals},  // 断幺九
    {"\x88\xea\x94u\x8c\xfb", 1, 60, kSequence | kPeikou, kSevenPairs | kPeikou | kAllTriplets},  // 一盃口
    {"\x96\xf0\x94v", 1, 180, kTriplet | kTerminals, kPinfu | kSevenPairs},  // 役牌
    {"\x94\x92", 1, 50, kTriplet | kTerminals, kPinfu | kSevenPairs},  // 白
    {"\xe1\xa2", 1, 40, kTriplet | kTerminals, kPinfu | kSevenPairs},  // 發
    {"\x92\x86", 1, 50, kTriplet | kTerminals, kPinfu | kSevenPairs},  // 中
    {"\x97\xe4\x8f\xe3\x8aJ\x89\xd4", 1, 20, kTriplet, kPinfu | kSevenPairs | kRonWin},  // 嶺上開花
    {"\x8a" "C\x92\xea\x96\xcc\x8c\x8e", 1, 10, 0, kRonWin},  // 海底摸月
    {"\x89\xcd\x92\xea\x9d\x9d\x8b\x9b", 1, 10, 0, kTsumoWin},  // 河底撈魚
    {"\x91\x84\x9e\xc8", 1, 5, 0, kTsumoWin},  // 槍槓
    {"\x8eO\x90" "F\x93\xaf\x8f\x87", 2, 60, kSequence, kSevenPairs | kAllTriplets},  // 三色同順
    {"\x88\xea\x8b" "C\x92\xca\x8a\xd1", 2, 50, kSequence, kSevenPairs | kAllTriplets},  // 一気通貫
    {"\x8d\xac\x91S\x91\xd1\x9b\xf4\x8b\xe3", 2, 30, kTerminals, kSevenPairs},  // 混全帯幺九
    {"\x8e\xb5\x91\xce\x8eq", 2, 80, kSevenPairs, kSequence | kTriplet | kPinfu},  // 七対子
    {"\x91\xce\x81X\x98" "a", 2, 60, kTriplet | kAllTriplets, kSequence | kPinfu | kSevenPairs},  // 対々和
    {"\x8eO\x88\xc3\x8d\x8f", 2, 20, kTriplet, kPinfu | kSevenPairs},  // 三暗刻
    {"\x8eO\x90" "F\x93\xaf\x8d\x8f", 2, 5, kTriplet, kPinfu | kSevenPairs},  // 三色同刻
    {"\x8eO\x9e\xc8\x8eq", 2, 2, kTriplet, kPinfu | kSevenPairs},  // 三槓子
    {"\x8f\xac\x8eO\x8c\xb3", 2, 10, kTriplet | kTerminals, kPinfu | kSevenPairs},  // 小三元
    {"\x8d\xac\x98V\x93\xaa", 2, 5, kTerminals, kSequence | kPinfu},  // 混老頭
    {"\x8f\x83\x91S\x91\xd1\x9b\xf4\x8b\xe3", 3, 10, kTerminals, kSevenPairs},  // 純全帯幺九
    {"\x93\xf1\x94u\x8c\xfb", 3, 5, kSequence | kPeikou, kSevenPairs | kPeikou | kTriplet | kAllTriplets},  // 二盃口
    {"\x8d\xac\x88\xea\x90" "F", 3, 90, kTerminals | kFlush, kFlush},  // 混一色
    {"\x90\xb4\x88\xea\x90" "F", 6, 20, kFlush, kFlush},  // 清一色
};
inline constexpr std::string_view kJapaneseNameStems[] = {
    "\x82\xb3\x82\xad\x82\xe7",                  // さくら
    "\x82\xdb\x82\xf1",                          // ぽん
    "\x82\xdd\x82\xa9\x82\xf1",                  // みかん
    "\x82\xbd\x82\xca\x82\xab",                  // たぬき
    "\x82\xcb\x82\xb1",                          // ねこ
    "\x82\xd0\x82\xe6\x82\xb1",                  // ひよこ
    "\x94\x92\x8c\xd5",                          // 白虎
    "\x90\x9d",                                  // 雀
    "\x96\x83\x90\x9d",                          // 麻雀
    "\x82\xe4\x82\xa4",                          // ゆう
    "\x82\xcd\x82\xe9",                          // はる
    "\x82\xc2\x82\xce\x82\xb3",                  // つばさ
    "\x82\xb1\x82\xbd\x82\xc2",                  // こたつ
    "\x82\xe0\x82\xbf",                          // もち
    "\x82\xbe\x82\xf1\x82\xb2",                  // だんご
    "\x82\xa4\x82\xb3\x82\xac",                  // うさぎ
    "\x82\xab\x82\xc2\x82\xcb",                  // きつね
    "\x82\xad\x82\xdc",                          // くま
    "\x82\xcf\x82\xf1\x82\xbe",                  // ぱんだ
    "\x82\xd9\x82\xbd\x82\xe9",                  // ほたる
    "\x82\xc8\x82\xc5\x82\xb5\x82\xb1",          // なでしこ
    "\x82\xa9\x82\xa6\x82\xc5",                  // かえで
    "\x82\xb7\x82\xb8\x82\xdf",                  // すずめ
    "\x90\xc2\x97\xb4",                          // 青龍
    "\x8e\xe9\x90\x9d",                          // 朱雀
    "\x8c\xba\x95\x90",                          // 玄武
    "\x82\xdd\x82\xc7\x82\xe8",                  // みどり
    "\x82\xbf\x82\xe3\x82\xf1",                  // ちゅん
    "\x82\xcd\x82\xc2",                          // はつ
    "\x82\xb5\x82\xeb",                          // しろ
    "\x82\xe4\x82\xab\x82\xf1\x82\xb1",          // ゆきんこ
    "\x82\xdc\x82\xf1\x82\xb6\x82\xe3\x82\xa4",  // まんじゅう
    "\x83h\x83\x89",                             // ドラ
    "\x83J\x83\x93\x82\xbf\x82\xe1\x82\xf1",     // カンちゃん
    "\x83y\x83\x93\x82\xbf\x82\xe1\x82\xf1",     // ペンちゃん
    "\x83\x8a\x83\x83\x83\x93\x83\x81\x83\x93",  // リャンメン
    "\x83" "e\x83\x93\x83p\x83" "C",             // テンパイ
    "\x8eR\x93" "c",                             // 山田
    "\x8d\xb2\x93\xa1",                          // 佐藤
    "\x97\xe9\x96\xd8",                          // 鈴木
    "\x8d\x82\x8b\xb4",                          // 高橋
    "\x93" "c\x92\x86",                          // 田中
    "\x93n\x95\xd3",                             // 渡辺
    "\x88\xc9\x93\xa1",                          // 伊藤
    "\x92\x86\x91\xba",                          // 中村
    "\x8f\xac\x97\xd1",                          // 小林
    "\x89\xc1\x93\xa1",                          // 加藤
    "\x8bg\x93" "c",                             // 吉田
    "\x8eR\x96{",                                // 山本
    "\x82\xd3\x82\xae",                          // ふぐ
    "\x82\xa9\x82\xe0\x82\xdf",                  // かもめ
    "\x82\xd8\x82\xf1\x82\xac\x82\xf1",          // ぺんぎん
};
inline constexpr std::string_view kJapaneseNameEndings[] = {
    "",                                          // (no han class)
    "",                                          // (no han class)
    "",                                          // (no han class)
    "\x91\xbe",                                  // 太
    "\x8a\xdb",                                  // 丸
    "\x8eq",                                     // 子
    "\x95P",                                     // 姫
    "\x89\xa4",                                  // 王
    "\x82\xc1\x82\xbf",                          // っち
    "\x82Q\x8d\x86",                             // ２号
    "\x82\xad\x82\xf1",                          // くん
    "\x82\xb3\x82\xf1",                          // さん
    "\x82\xbf\x82\xe1\x82\xf1",                  // ちゃん
    "\x90\xe6\x90\xb6",                          // 先生
    "\x96\xbc\x90l",                             // 名人
    "\x90\xe5\x90l",                             // 仙人
    "\x81\x9a",                                  // ★
    "\x81\x99",                                  // ☆
    "\x82\xcc\x8f\x95",                          // の助
    "\x82\xd2\x81[",                             // ぴー
    "\x89\xfc",                                  // 改
};

}  // namespace obrenta::tools::cp932
// clang-format on
