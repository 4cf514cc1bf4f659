#include "shell/menus.h"

#include "platform/resources.h"
#include "base/messages.h"
#include "base/string_ids.h"

namespace {

// Reads one MENU resource; false when it is malformed.
class a_menu_reader {
  public:
    explicit a_menu_reader(const a_resource& r) : r_(r) {}
    [[nodiscard]] bool Byte(unsigned& v) {
        if (pos_ >= r_.size) return false;
        v = r_.data[pos_++];
        return true;
    }
    bool Word(unsigned& v) {
        unsigned hi, lo;
        if (!Byte(hi) || !Byte(lo)) return false;
        v = hi << 8 | lo;
        return true;
    }
    [[nodiscard]] bool PString(std::string& s) {
        unsigned n;
        if (!Byte(n) || n > r_.size - pos_) return false;
        s.assign(reinterpret_cast<const char*>(r_.data + pos_), n);
        pos_ += n;
        return true;
    }

  private:
    const a_resource& r_;
    size_t pos_ = 0;
};

enum : unsigned { ITEM_PLAIN = 0, ITEM_SEPARATOR = 1, ITEM_SUBMENU = 2 };

int Resource_Id(int id, int language) {
    return (id == 80 || id == 81) ? id : id + language;
}

[[nodiscard]] bool Parse_Menu(const a_resource& r, int id, a_menu& m) {
    a_menu_reader in(r);
    m = a_menu{};
    m.id = id;
    unsigned n;
    if (!in.PString(m.title) || !in.Byte(n) || n > 19) return false;
    for (unsigned i = 1; i <= n; ++i) {
        a_menu_item item;
        unsigned kind, sub = 0;
        if (!in.Byte(kind) || kind > ITEM_SUBMENU) return false;
        if (kind == ITEM_SUBMENU && !in.Word(sub)) return false;
        if (!in.PString(item.text)) return false;
        item.command = id + static_cast<int>(i);
        item.separator = kind == ITEM_SEPARATOR;
        item.submenu = static_cast<int>(sub);
        size_t tab = item.text.find('\t');
        if (tab != std::string::npos) {
            item.shortcut = item.text.substr(tab + 1);
            item.text.resize(tab);
        }
        m.items.push_back(item);
    }
    return true;
}

[[nodiscard]] bool Load_Raw(int id, int language, a_menu& m) {
    a_resource r;
    if (language != LANG_ENGLISH && Resource_Get(RES_MENU, Resource_Id(id, language), r) &&
        Parse_Menu(r, id, m))
        return true;
    return Resource_Get(RES_MENU, Resource_Id(id, LANG_ENGLISH), r) && Parse_Menu(r, id, m);
}

void Collect_Keys(const a_menu& m, int language, std::vector<a_menu_item>& out, int depth) {
    for (const a_menu_item& item : m.items) {
        if (item.key.key) out.push_back(item);
        a_menu sub;
        if (item.submenu && depth < 4 && Menu_Load(item.submenu, language, sub))
            Collect_Keys(sub, language, out, depth + 1);
    }
}

}  // namespace

int Menu_Category(int command) {
    return command < 20 ? command : command - command % 20;
}

int Menu_Item(int command) {
    return command < 20 ? 0 : command % 20;
}

bool Menu_Load(int id, int language, a_menu& menu) {
    if (!Load_Raw(id, language, menu)) return false;
    // The keys come from the English texts: the accelerator table is the
    // same in every language, whatever the translation writes.
    a_menu english;
    bool same = language == LANG_ENGLISH || !Load_Raw(id, LANG_ENGLISH, english);
    const a_menu& keys = same ? menu : english;
    Do_Substitutions(menu.title);
    for (size_t i = 0; i < menu.items.size(); ++i) {
        a_menu_item& item = menu.items[i];
        Do_Substitutions(item.text);
        // A shortcut the parser does not understand leaves the item without one,
        // rather than with the modifiers read before the fault.
        if (i < keys.items.size() && !keys.items[i].shortcut.empty() &&
            !Shortcut_Parse(keys.items[i].shortcut, item.key))
            item.key = a_shortcut{};
    }
    return true;
}

bool MenuBar_Load(int bar, int language, a_menu_bar& out) {
    out = a_menu_bar{};
    a_resource r;
    if (!Resource_Get(RES_MENUBAR, bar, r) || r.size < 2) return false;
    unsigned n = unsigned(r.data[0]) << 8 | r.data[1];
    if (r.size < 2 + 2 * size_t(n)) return false;
    out.id = bar;
    out.language = language;
    for (unsigned i = 0; i < n; ++i) {
        int id = r.data[2 + 2 * i] << 8 | r.data[3 + 2 * i];
        a_menu m;
        if (!Menu_Load(id, language, m)) return false;
        if (id == MENU_EXPORT && m.items.size() >= 2) m.items.resize(m.items.size() - 2);
        out.menus.push_back(std::move(m));
    }
    return true;
}

std::vector<a_menu_item> MenuBar_Accelerators(const a_menu_bar& bar) {
    std::vector<a_menu_item> out;
    for (const a_menu& m : bar.menus) Collect_Keys(m, bar.language, out, 0);
    return out;
}
