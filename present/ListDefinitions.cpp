#include "present/ListDefinitions.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "present/TextCodec.h"

namespace obrenta::present {

const std::vector<ListDef>& AllListDefinitions() {
    static const std::vector<ListDef> defs = [] {
        std::vector<ListDef> all = FixedRowListDefs();
        for (ListDef& def : RecordListDefs()) all.push_back(std::move(def));
        return all;
    }();
    return defs;
}

const ListDef& Definition(ListId list) {
    // Each id's definition, checked once: an id without one, or with two, is a fault of the
    // definitions that no list could be shown with.
    static const std::array<const ListDef*, kListCount> byId = [] {
        std::array<const ListDef*, kListCount> index{};
        for (const ListDef& def : AllListDefinitions()) {
            const int id = static_cast<int>(def.id);
            if (id < 0 || id >= kListCount || index[id] != nullptr) {
                throw std::logic_error("list " + std::string(def.name) + " is defined twice or out of range");
            }
            index[id] = &def;
        }
        for (const ListDef* def : index) {
            if (def == nullptr) throw std::logic_error("a list has no definition");
        }
        return index;
    }();
    return *byId.at(static_cast<std::size_t>(list));
}

const std::string& ColumnToolTip(ListId list, int column) {
    static const std::string none;
    const std::vector<ColumnDef>& columns = Definition(list).columns;
    if (column < 0 || column >= static_cast<int>(columns.size())) return none;
    return columns[static_cast<std::size_t>(column)].toolTip.bytes;
}

std::string_view ListName(ListId list) {
    return Definition(list).name;
}

bool ListColumnsFill(ListId list) {
    return Definition(list).columnsFill;
}

bool IsSortable(ListId list) {
    return Definition(list).sortStates != nullptr;
}

ListSize ListSizeUnits(ListId list) {
    return Definition(list).size;
}

int ListWidthPixels(ListId list) {
    return static_cast<int>(std::lround(Definition(list).size.width * kPixelsPerDialogUnitX));
}

int RowOfLabel(ListId list, std::string_view label) {
    const std::string bytes = Cp932Literal(label);
    const std::vector<RowDef>& rows = Definition(list).rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].label.bytes == bytes) return static_cast<int>(r);
    }
    return -1;
}

}  // namespace obrenta::present
