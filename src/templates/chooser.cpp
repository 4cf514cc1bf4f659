#include "templates/chooser.h"

#include <algorithm>

#include "base/string_ids.h"
#include "templates/catalogue.h"

#include "base/messages.h"

a_list_desc paper_kind_desc;
a_list_desc paper_list_desc;
a_chooser_sort g_chooser_sort = SORT_BY_BRAND;
a_chooser_notices g_chooser_notices;

namespace {

void Changed() {
    g_chooser_notices.changed.Emit();
}

void List_Reset(a_list_desc& list, int header) {
    list.items.clear();
    list.selected = 1;
    list.header_str = header;
}

bool Item_Less(const a_list_item& a, const a_list_item& b) {
    if (a.text != b.text) return a.text < b.text;  // 16-bit code units
    return a.key < b.key;
}

}  // namespace

void Build_Kind_List() {
    List_Reset(paper_kind_desc, STR_ALL_KINDS);
    paper_kind_desc.items.push_back({Get_Translated_UString(STR_ALL_KINDS, MAIN_STR_ID), 0});
    bool seen[NUNIT_KINDS] = {};
    seen[UNIT_EMPTY] = true;
    for (int i = 1; i <= TList_Count(); ++i) {
        const a_ctemplate& t = TList_Get(i);
        for (uint32_t g = 0; g < CTemplate_NGroups(t); ++g) {
            const a_cunit& u = t.units[g];
            if (u.kind >= NUNIT_KINDS || seen[u.kind] || Has_Flag(u.uflags, UNIT_NOTINDEXED))
                continue;
            seen[u.kind] = true;
            std::u16string name;
            UnitKind_To_Str(name, u.kind);
            paper_kind_desc.items.push_back({name, u.kind});
        }
    }
    std::sort(paper_kind_desc.items.begin() + 1, paper_kind_desc.items.end(), Item_Less);
}

void Build_Brand_List() {
    List_Reset(paper_kind_desc, STR_ALL_BRANDS);
    paper_kind_desc.items.push_back({Get_Translated_UString(STR_ALL_BRANDS, MAIN_STR_ID), 0});
    std::string previous;
    for (int i = 1; i <= TList_Count(); ++i) {
        std::string brand;
        Extract_Brand(brand, TList_Get(i).label);
        if (brand == previous) continue;
        previous = brand;
        paper_kind_desc.items.push_back({Filter_Template_Name(brand), static_cast<uint32_t>(i)});
    }
}

bool Is_Kind_In_Template(int index, int kind) {
    const a_ctemplate& t = TList_Get(index);
    for (uint32_t g = 0; g < CTemplate_NGroups(t); ++g)
        if (t.units[g].kind == kind && !Has_Flag(t.units[g].uflags, UNIT_NOTINDEXED)) return true;
    return false;
}

void Add_Template_To_List(int index) {
    std::u16string name;
    Filter_Template_Name(name, TList_Get(index).label);
    paper_list_desc.items.push_back({name, static_cast<uint32_t>(index)});
}

void Build_Paper_List() {
    List_Reset(paper_list_desc, 0);
    int line = paper_kind_desc.selected;
    if (line <= 1 || line > static_cast<int>(paper_kind_desc.items.size())) {
        for (int i = 1; i <= TList_Count(); ++i) Add_Template_To_List(i);
        return;
    }
    uint32_t key = paper_kind_desc.items[line - 1].key;
    if (paper_kind_desc.header_str == STR_ALL_BRANDS) {
        std::string brand, other;
        Extract_Brand(brand, TList_Get(static_cast<int>(key)).label);
        for (int i = 1; i <= TList_Count(); ++i) {
            Extract_Brand(other, TList_Get(i).label);
            if (other == brand) Add_Template_To_List(i);
        }
    } else {
        for (int i = 1; i <= TList_Count(); ++i)
            if (Is_Kind_In_Template(i, static_cast<int>(key))) Add_Template_To_List(i);
    }
}

void Build_Paper_Lists() {
    if (g_chooser_sort == SORT_BY_KIND) Build_Kind_List();
    else Build_Brand_List();
    Build_Paper_List();
    Changed();
}

void PaperKind_Set(int n) {
    paper_kind_desc.selected = n;
    Build_Paper_List();
    Changed();
}

void PaperList_Set(int n) {
    paper_list_desc.selected = n;
    Changed();
}

int Get_Selected_TemplateX() {
    int n = paper_list_desc.selected;
    if (n < 1 || n > static_cast<int>(paper_list_desc.items.size())) return 0;
    return static_cast<int>(paper_list_desc.items[n - 1].key);
}

bool PaperList_KeyFilter(int key) {
    int cur = paper_list_desc.selected;
    int last = static_cast<int>(paper_list_desc.items.size());
    int page = std::max(1, paper_list_desc.visible_lines - 1);
    int target;
    switch (key) {
        case VK_UP_KEY: target = cur - 1; break;
        case VK_DOWN_KEY: target = cur + 1; break;
        case VK_PRIOR_KEY: target = cur - page; break;
        case VK_NEXT_KEY: target = cur + page; break;
        case VK_HOME_KEY: target = 1; break;
        case VK_END_KEY: target = last; break;
        default: return false;
    }
    target = std::clamp(target, 1, std::max(1, last));
    if (target == cur) {
        g_chooser_notices.at_limit.Emit();
    } else {
        PaperList_Set(target);
    }
    return true;
}

