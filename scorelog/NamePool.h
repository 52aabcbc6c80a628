#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "scorelog/Bytes.h"

namespace obrenta::scorelog {

// Index of a byte string in a NamePool. Two names of one pool are byte-wise equal exactly when
// their ids are equal, so the tally compares names as integers.
using NameId = std::uint32_t;

// The empty name; every pool holds it as id 0.
inline constexpr NameId kEmptyName = 0;

// What a yaku word says about a win's dora: ドラN, 赤N, 裏N and 裏ドラN (N one or more ASCII
// digits) give N, at most 999; 立直 marks a riichi win; 裏N or 裏ドラN with N ≥ 1 an ura win.
// Every other word gives nothing.
struct YakuWord {
    std::uint16_t dora = 0;
    bool riichi = false;
    bool ura = false;
};
// Reads a word of code page 932 bytes.
YakuWord ReadYakuWord(std::string_view word);

// Interns the names and yaku of one score log read. Games keep a shared pointer to the pool they
// were parsed with, so a copied game stays valid after the log has been read again.
class NamePool {
public:
    NamePool();
    NamePool(const NamePool&) = delete;
    NamePool& operator=(const NamePool&) = delete;

    NameId Intern(std::string_view text);
    // The id of text, when the pool holds it.
    std::optional<NameId> Find(std::string_view text) const;
    std::string_view View(NameId id) const { return views_[id]; }
    // The yaku reading of a text, made once when the text was first interned.
    const YakuWord& Word(NameId id) const { return words_[id]; }
    std::span<const YakuWord> Words() const { return words_; }
    std::size_t Size() const { return views_.size(); }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0;
        std::size_t capacity = 0;
    };
    // One slot of the open-addressing table: the id plus one (0 marks a free slot) and the
    // name's hash, compared before the bytes.
    struct Slot {
        std::uint32_t idPlusOne = 0;
        std::uint32_t hash = 0;
    };

    // A direct-mapped table of short texts looked up lately: a log names the same few players
    // and yaku over and over, and this finds them without hashing or probing.
    struct Recent {
        ShortText text;
        NameId id = 0;
    };
    static constexpr int kRecentBits = 8;

    NameId InternSlow(std::string_view text);
    std::string_view Store(std::string_view text);
    std::size_t FindSlot(std::string_view text, std::uint32_t hash) const;
    void Grow();

    std::vector<Block> blocks_;
    std::vector<std::string_view> views_;
    std::vector<YakuWord> words_;
    std::vector<Slot> slots_;
    std::array<Recent, std::size_t{1} << kRecentBits> recent_{};
};

using NamePoolPtr = std::shared_ptr<NamePool>;

}  // namespace obrenta::scorelog
