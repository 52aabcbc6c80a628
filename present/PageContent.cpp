#include "present/PageContent.h"

namespace obrenta::present {

void SetUpPages(PageLists& lists, PageCharts& charts, const settings::AppSettings& settings) {
    for (int i = 0; i < kListCount; ++i) {
        const ListId list = static_cast<ListId>(i);
        SetUpList(list, lists[list]);
    }
    SetUpCharts(charts, settings);
}

void RefillPages(const tally::TallyEngine& engine, const settings::AppSettings& settings, PageLists& lists,
                 PageCharts& charts) {
    for (int i = 0; i < kListCount; ++i) {
        const ListId list = static_cast<ListId>(i);
        FillList(list, lists[list], engine, settings);
    }
    RefillCharts(engine, settings, charts);
}

}  // namespace obrenta::present
