#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace obrenta::ui {

// The longest search text the opponent search works on, in bytes.
inline constexpr std::size_t kMaxSearchBytes = 255;

// Whether byte c starts a two-byte code page 932 character.
bool IsCp932LeadByte(unsigned char c);
// The longest prefix of text of at most maxBytes bytes that does not split a character.
std::string CutAtCharBoundary(std::string_view text, std::size_t maxBytes);
// Whether needle occurs in haystack starting on a character boundary of haystack (a match never
// begins on the trail byte of a two-byte character). Byte-exact, so case-sensitive.
bool Cp932Contains(std::string_view haystack, std::string_view needle);

// The opponent search walk: starting next to the selected row (row 0 when none is selected) and
// stepping by direction (+1 down, -1 up) with wrap-around, the first of rowCount rows whose name
// contains needle; the selected row itself comes last. -1 when none matches or there are no rows.
int FindMatchingRow(int rowCount, int selectedRow, int direction, std::string_view needle,
                    const std::function<std::string(int row)>& nameOf);

}  // namespace obrenta::ui
