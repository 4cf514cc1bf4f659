// The template chooser's model: the kind/brand list, the template list and
// their selection. The window that draws them is the GUI's.
// Process-wide state: the chooser lists, its sort order and its notices (reads and writes); the
// working list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/notice.h"

struct a_list_item {
    std::u16string text;  // at most 255 characters
    uint32_t key = 0;
    bool operator==(const a_list_item&) const = default;
};

// A generic list box: items and the selected line (1-based, 0 = none).
struct a_list_desc {
    std::vector<a_list_item> items;
    int selected = 0;
    int header_str = 0;  // string number of the list's header
    int visible_lines = 10;
};

enum a_chooser_sort { SORT_BY_BRAND, SORT_BY_KIND };

extern a_list_desc paper_kind_desc;  // kinds or brands
extern a_list_desc paper_list_desc;  // templates
extern a_chooser_sort g_chooser_sort;

void Build_Kind_List();
void Build_Brand_List();
void Build_Paper_List();
void Build_Paper_Lists();
bool Is_Kind_In_Template(int index, int kind);
void Add_Template_To_List(int index);

void PaperKind_Set(int n);
void PaperList_Set(int n);
int Get_Selected_TemplateX();

// Virtual-key codes of the list keys.
enum : int {
    VK_PRIOR_KEY = 0x21,
    VK_NEXT_KEY = 0x22,
    VK_END_KEY = 0x23,
    VK_HOME_KEY = 0x24,
    VK_UP_KEY = 0x26,
    VK_DOWN_KEY = 0x28
};
// Moves the template selection; false for keys it does not take.
[[nodiscard]] bool PaperList_KeyFilter(int key);

// What the chooser tells its window: the contents changed (repaint), and a
// key tried to move the selection past either end of the list.
struct a_chooser_notices {
    a_notice<> changed;
    a_notice<> at_limit;
};
extern a_chooser_notices g_chooser_notices;
