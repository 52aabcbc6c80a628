#include "present/ValuesCsv.h"

#include <cmath>
#include <deque>
#include <unordered_map>

#include "base/LocalTime.h"
#include "present/CellFormat.h"
#include "present/CsvWriter.h"
#include "present/Report.h"
#include "present/TextCodec.h"

namespace obrenta::present {

namespace {

// How many fields a cell's value takes, and what the later ones are called.
enum class Shape { One, Pair, Dated, Interval };

int FieldCount(Shape shape) {
    return shape == Shape::One ? 1 : shape == Shape::Interval ? 3 : 2;
}

struct ValueCell {
    std::string text;  // as the list shows it, to find the row again
    Shape shape = Shape::One;
    std::vector<std::string> fields;
};
using ValueRow = std::vector<ValueCell>;

// Six digits after the point at most, trailing zeros dropped: exact enough for a spreadsheet, and
// the same on every system (the last bits of a double may differ between C libraries).
std::string Number(double value) {
    if (!std::isfinite(value)) return {};
    std::string text = FormatCell("%.6f", value);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string IsoTime(std::int64_t seconds) {
    const std::optional<std::tm> t = base::SecondsToLocal(seconds);
    if (!t) return {};
    return FormatCell("%04d-%02d-%02dT%02d:%02d", t->tm_year + 1900, t->tm_mon + 1, t->tm_mday, t->tm_hour,
                      t->tm_min);
}

// A fixed text: a number with a unit ("100.00 %") becomes the number, any other text stays.
std::string PlainText(const std::string& text) {
    if (text == "---") return {};
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    const char c = text[start];
    if ((c >= '0' && c <= '9') || ((c == '-' || c == '+') && start + 1 < text.size() &&
                                   text[start + 1] >= '0' && text[start + 1] <= '9'))
        return Number(LeadingDouble(text));
    return text;
}

// "d ±h" with an optional "* " in front, as the form box's difference row writes it.
bool ParseIntervalText(const std::string& text, std::vector<std::string>& fields) {
    static const std::string kPlusMinus = Cp932Literal("±");
    const std::size_t at = text.find(kPlusMinus);
    if (at == std::string::npos) return false;
    std::size_t start = text.find_first_not_of(" *");
    if (start == std::string::npos || start >= at) return false;
    const double value = LeadingDouble(text.substr(start, at - start));
    const std::string rest = text.substr(at + kPlusMinus.size());
    if (rest.find_first_of("0123456789") == std::string::npos) {
        fields = {Number(value), "", ""};
        return true;
    }
    const double half = LeadingDouble(rest);
    fields = {Number(value), Number(value - half), Number(value + half)};
    return true;
}

ValueCell CellOf(const std::string& format, const CellValue& value) {
    ValueCell cell;
    cell.text = CellText(format, value);
    using K = CellValue::Kind;
    switch (value.kind) {
        case K::None:
            cell.fields = {PlainText(cell.text)};
            break;
        case K::Integer:
            cell.fields = {std::to_string(value.first)};
            break;
        case K::Decimal:
            cell.fields = {Number(value.decimal)};
            break;
        case K::Duration:
            cell.fields = {std::to_string(value.first)};
            break;
        case K::Pair:
            cell.shape = Shape::Pair;
            cell.fields = {std::to_string(value.first), std::to_string(value.second)};
            break;
        case K::LocalTime:
        case K::DateTime:
            cell.fields = {IsoTime(value.first)};
            break;
        case K::Text:
            cell.fields = {std::string(value.text)};
            break;
        case K::Dashes:
            cell.fields = {""};
            break;
        case K::Period:
            cell.fields = {value.second == 0 ? FormatCell("%04d", static_cast<int>(value.first))
                                             : FormatCell("%04d-%02d", static_cast<int>(value.first),
                                                          static_cast<int>(value.second))};
            break;
        case K::Interval:
            cell.shape = Shape::Interval;
            if (value.hasInterval) {
                cell.fields = {Number(value.decimal), Number(value.decimal - value.halfWidth),
                               Number(value.decimal + value.halfWidth)};
            } else {
                cell.fields = {Number(value.decimal), "", ""};
            }
            break;
        case K::Range:
            cell.shape = Shape::Interval;
            cell.fields = {Number(value.decimal), Number(value.low), Number(value.high)};
            break;
        case K::Dated:
            cell.shape = Shape::Dated;
            cell.fields = {std::to_string(value.first), IsoTime(value.second)};
            break;
    }
    return cell;
}

ValueCell TextCell(const std::string& text) {
    ValueCell cell;
    cell.text = text;
    if (ParseIntervalText(text, cell.fields)) {
        cell.shape = Shape::Interval;
    } else {
        cell.fields = {PlainText(text)};
    }
    return cell;
}

// Keeps each row it is handed with its values.
class ValueSink final : public RowSink {
public:
    void Row(std::span<const RecordCell> cells) override {
        ValueRow row;
        for (const RecordCell& cell : cells) row.push_back(CellOf(*cell.format, cell.value));
        rows.push_back(std::move(row));
    }
    void TextRow(std::span<const std::string> texts) override {
        ValueRow row;
        for (const std::string& text : texts) row.push_back(TextCell(text));
        rows.push_back(std::move(row));
    }

    std::vector<ValueRow> rows;
};

// The rows of the list as its fill writes them, before any sort.
std::vector<ValueRow> UnsortedRows(ListId list, const tally::TallyEngine& engine,
                                   const settings::AppSettings& settings, int columns) {
    if (const RecordRows records = Definition(list).records; records != nullptr) {
        ValueSink sink;
        records(engine, settings, sink);
        return std::move(sink.rows);
    }
    std::vector<ValueRow> rows;
    for (const RowDef& def : Definition(list).rows) {
        ValueRow row(static_cast<std::size_t>(std::max(columns, 1)));
        row[0].text = def.label.bytes;
        row[0].fields = {def.label.bytes};
        for (const CellDef& cell : def.cells) {
            if (cell.column < 0 || cell.column >= columns) continue;
            row[cell.column] = cell.value == nullptr
                                   ? TextCell(cell.format.bytes)
                                   : CellOf(cell.format.bytes, cell.value(engine, def.index));
        }
        for (ValueCell& cell : row) {
            if (cell.fields.empty()) cell.fields = {""};
        }
        rows.push_back(row);
    }
    return rows;
}

std::string Heading(const std::string& heading, Shape shape, int field) {
    if (field == 0) return heading;
    switch (shape) {
        case Shape::Pair:
            return heading + (heading.empty() ? "(2)" : " (2)");
        case Shape::Dated:
            return heading + Cp932Literal(" 日時");
        default:
            return heading + Cp932Literal(field == 1 ? " 下限" : " 上限");
    }
}

}  // namespace

std::string FormatValuesCsv(ListId list, const ListView& shown, const tally::TallyEngine& engine,
                            const settings::AppSettings& settings) {
    const int columns = shown.ColumnCount();
    std::vector<ValueRow> unsorted = UnsortedRows(list, engine, settings, columns);
    // The rows in the order shown: each found by its texts (a sort moves whole rows). Rows with
    // the same texts are taken in their unsorted order.
    const auto key = [columns](auto textAt) {
        std::string joined;
        for (int c = 0; c < columns; ++c) {
            joined += textAt(c);
            joined += '\0';
        }
        return joined;
    };
    std::unordered_map<std::string, std::deque<std::size_t>> unsortedByText;
    for (std::size_t u = 0; u < unsorted.size(); ++u) {
        unsortedByText[key([&](int c) {
            const auto at = static_cast<std::size_t>(c);
            return at < unsorted[u].size() ? unsorted[u][at].text : std::string();
        })].push_back(u);
    }
    std::vector<ValueRow> rows;
    for (int r = 0; r < shown.RowCount(); ++r) {
        ValueRow row;
        const auto found = unsortedByText.find(key([&](int c) { return shown.Cell(r, c); }));
        if (found != unsortedByText.end() && !found->second.empty()) {
            row = unsorted[found->second.front()];
            found->second.pop_front();
        } else {
            for (int c = 0; c < columns; ++c) row.push_back(TextCell(shown.Cell(r, c)));
        }
        row.resize(static_cast<std::size_t>(columns));
        for (ValueCell& cell : row) {
            if (cell.fields.empty()) cell.fields = {""};
        }
        rows.push_back(std::move(row));
    }
    // A column is as wide as its widest cell; narrower cells are padded with empty fields.
    std::vector<Shape> shapes(static_cast<std::size_t>(columns), Shape::One);
    for (const ValueRow& row : rows) {
        for (int c = 0; c < columns; ++c) {
            if (FieldCount(row[c].shape) > FieldCount(shapes[c])) shapes[c] = row[c].shape;
        }
    }
    std::string out = "\xEF\xBB\xBF";
    auto field = [&out](bool& first, const std::string& cp932) {
        if (!first) out += ',';
        first = false;
        out += CsvField(Cp932ToUtf8(cp932));
    };
    bool first = true;
    for (int c = 0; c < columns; ++c) {
        if (shown.ColumnWidth(c) == 0) continue;
        for (int f = 0; f < FieldCount(shapes[c]); ++f) field(first, Heading(shown.Heading(c), shapes[c], f));
    }
    out += "\r\n";
    for (const ValueRow& row : rows) {
        first = true;
        for (int c = 0; c < columns; ++c) {
            if (shown.ColumnWidth(c) == 0) continue;
            for (int f = 0; f < FieldCount(shapes[c]); ++f)
                field(first,
                      static_cast<std::size_t>(f) < row[c].fields.size() ? row[c].fields[f] : std::string());
        }
        out += "\r\n";
    }
    return out;
}

std::string RenderListValuesCsv(const tally::TallyEngine& engine, const settings::AppSettings& settings,
                                ListId list) {
    InMemoryPages pages;
    SetUpPages(pages.lists, pages.charts, settings);
    RefillPages(engine, settings, pages.lists, pages.charts);
    return FormatValuesCsv(list, pages[list], engine, settings);
}

}  // namespace obrenta::present
