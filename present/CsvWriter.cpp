#include "present/CsvWriter.h"

#include "present/Report.h"
#include "present/TextCodec.h"

namespace obrenta::present {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string FormatCsv(const ListView& view) {
    std::string out = "\xEF\xBB\xBF";
    const int columns = view.ColumnCount();
    auto line = [&](auto cell) {
        bool first = true;
        for (int c = 0; c < columns; ++c) {
            if (view.ColumnWidth(c) == 0) continue;
            if (!first) out += ',';
            first = false;
            out += CsvField(Cp932ToUtf8(cell(c)));
        }
        out += "\r\n";
    };
    line([&](int c) { return view.Heading(c); });
    for (int r = 0; r < view.RowCount(); ++r) line([&](int c) { return view.Cell(r, c); });
    return out;
}

std::optional<ListId> FindListByName(std::string_view name) {
    for (int i = 0; i < kListCount; ++i) {
        if (ListName(static_cast<ListId>(i)) == name) return static_cast<ListId>(i);
    }
    return std::nullopt;
}

std::string RenderListCsv(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                          ListId list) {
    InMemoryPages pages;
    SetUpPages(pages.lists, pages.charts, settings);
    RefillPages(engine, settings, pages.lists, pages.charts);
    return FormatCsv(pages[list]);
}

}  // namespace obrenta::present
