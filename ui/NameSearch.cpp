#include "ui/NameSearch.h"

#include <algorithm>

namespace obrenta::ui {

bool IsCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return std::string(text.substr(0, std::min(end, text.size())));
}

bool Cp932Contains(std::string_view haystack, std::string_view needle) {
    std::size_t at = 0;
    while (true) {
        if (haystack.size() - at >= needle.size() && haystack.compare(at, needle.size(), needle) == 0)
            return true;
        if (at >= haystack.size()) return false;
        at += IsCp932LeadByte(static_cast<unsigned char>(haystack[at])) ? 2 : 1;
        // A lead byte cut off at the very end.
        if (at > haystack.size()) return false;
    }
}

int FindMatchingRow(int rowCount, int selectedRow, int direction, std::string_view needle,
                    const std::function<std::string(int row)>& nameOf) {
    if (rowCount <= 0) return -1;
    const int start = selectedRow >= 0 && selectedRow < rowCount ? selectedRow : 0;
    const int step = direction < 0 ? -1 : 1;
    for (int k = 1; k <= rowCount; ++k) {
        int row = (start + k * step) % rowCount;
        if (row < 0) row += rowCount;
        if (Cp932Contains(CutAtCharBoundary(nameOf(row), kMaxSearchBytes), needle)) return row;
    }
    return -1;
}

}  // namespace obrenta::ui
