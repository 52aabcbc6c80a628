#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "scorelog/ScoreLog.h"

namespace obrenta::scorelog {

inline bool ContainsSeparator(const char* p, std::size_t size) {
    const char* end = p + size;
    while (end - p >= 5) {
        p = static_cast<const char*>(std::memchr(p, '=', static_cast<std::size_t>(end - p) - 4));
        if (p == nullptr) return false;
        if (p[1] == '=' && p[2] == '=' && p[3] == '=' && p[4] == '=') return true;
        ++p;
    }
    return false;
}

// Finds separator lines without searching every line: '=' is rare outside them, so the next
// '=' of the whole buffer is remembered and only lines that reach it are looked at.
class SeparatorFinder {
public:
    SeparatorFinder(const char* bytes, const char* end) : nextEq_(bytes), end_(end) {}

    bool InLine(const char* p, std::size_t size) {
        if (nextEq_ < p) {
            const void* eq = std::memchr(p, '=', static_cast<std::size_t>(end_ - p));
            nextEq_ = eq != nullptr ? static_cast<const char*>(eq) : end_;
        }
        if (nextEq_ >= p + size) return false;
        return ContainsSeparator(nextEq_, static_cast<std::size_t>(p + size - nextEq_));
    }

private:
    const char* nextEq_;  // no '=' lies between the last searched position and this one
    const char* end_;
};

// Cuts a log into blocks the way it was always read: a text-mode stream (CR LF reads as LF, a
// lone CR stays) read with a 256-byte line buffer, so a long line comes in pieces of 255 bytes,
// and each piece is a C string that ends at its first NUL byte. A block begins at the first line
// and at every line that contains "=====". onBlock gets the lines of a block and its full line
// count and the offset of its first line among the bytes of source; only the first kMaxBlockLines
// lines are kept, as a longer block is turned down anyway.
//
// The bytes come from source(buffer, room) (the count read, 0 at the end, negative on failure)
// into one buffer that is reused: only the block being collected stays in it, so a large log
// never has to be held in memory at once. False when source fails.
template <typename Source, typename OnBlock>
bool CutBlocks(Source&& source, std::size_t chunkBytes, OnBlock&& onBlock) {
    std::size_t capacity = std::max<std::size_t>(chunkBytes, 1);
    auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t scan = 0;          // the first byte not yet cut into lines
    std::size_t filled = 0;        // the end of the bytes read
    std::uint64_t baseOffset = 0;  // the offset of buffer[0] among the bytes of source
    bool atEnd = false;

    std::vector<std::string_view> block;
    block.reserve(kMaxBlockLines);
    std::size_t blockLines = 0;
    std::uint64_t blockStart = 0;

    auto rebase = [&](const char* oldBase, const char* newBase) {
        for (std::string_view& line : block) {
            line = std::string_view(newBase + (line.data() - oldBase), line.size());
        }
    };

    for (;;) {
        if (!atEnd) {
            // Keep only the block being collected (or nothing, once it is known to be too
            // long) and the bytes not yet cut, then read more behind them.
            char* base = buffer.get();
            const std::size_t keepFrom =
                block.empty() ? scan : static_cast<std::size_t>(block.front().data() - base);
            if (keepFrom > 0) {
                std::memmove(base, base + keepFrom, filled - keepFrom);
                rebase(base + keepFrom, base);
                scan -= keepFrom;
                filled -= keepFrom;
                baseOffset += keepFrom;
            }
            if (filled == capacity) {
                auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
                std::memcpy(larger.get(), base, filled);
                rebase(base, larger.get());
                buffer = std::move(larger);
                capacity *= 2;
            }
            const std::ptrdiff_t got = source(buffer.get() + filled, capacity - filled);
            if (got < 0) return false;
            if (got == 0) {
                atEnd = true;
            } else {
                filled += static_cast<std::size_t>(got);
            }
        }

        char* const base = buffer.get();
        char* const end = base + filled;
        const bool hasNul = std::memchr(base + scan, '\0', filled - scan) != nullptr;
        SeparatorFinder separators(base + scan, end);
        auto takePiece = [&](const char* p, std::size_t length) {
            if (hasNul) {
                if (const void* nul = std::memchr(p, '\0', length)) {
                    length = static_cast<std::size_t>(static_cast<const char*>(nul) - p);
                }
            }
            if (blockLines > 0 && separators.InLine(p, length)) {
                onBlock(block, blockLines, blockStart);
                block.clear();
                blockLines = 0;
            }
            if (blockLines == 0) blockStart = baseOffset + static_cast<std::uint64_t>(p - base);
            if (blockLines < kMaxBlockLines) block.emplace_back(p, length);
            if (++blockLines == kMaxBlockLines + 1) block.clear();
        };

        char* p = base + scan;
        for (;;) {
            char* newline = static_cast<char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (newline == nullptr) break;
            std::size_t length = static_cast<std::size_t>(newline - p) + 1;
            if (newline > p && newline[-1] == '\r') {
                newline[-1] = '\n';
                --length;
            }
            for (; length > kMaxLinePieceBytes; length -= kMaxLinePieceBytes) {
                takePiece(p, kMaxLinePieceBytes);
                p += kMaxLinePieceBytes;
            }
            takePiece(p, length);
            p = newline + 1;
        }
        // A line still without its newline: a piece that fills the line buffer can be handed on
        // once a byte follows it (that byte is no LF, so no CR of the piece is dropped). At the
        // end of the file, the rest was read by a read that met the end, so it is never kept.
        std::size_t rest = static_cast<std::size_t>(end - p);
        const std::size_t reserve = atEnd ? 0 : 1;
        for (; rest >= kMaxLinePieceBytes + reserve; rest -= kMaxLinePieceBytes) {
            takePiece(p, kMaxLinePieceBytes);
            p += kMaxLinePieceBytes;
        }
        scan = static_cast<std::size_t>(p - base);

        if (atEnd) {
            if (blockLines > 0) onBlock(block, blockLines, blockStart);
            return true;
        }
    }
}

}  // namespace obrenta::scorelog
