#include "templates/catalogue.h"

#include <algorithm>
#include <cstring>

#include "platform/codepage.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "templates/catalogue_table.h"
#include "templates/user_catalogue.h"

namespace {

std::vector<a_ctemplate> tlist;  // the working list; tlist.size() is tlist_n

bool Record_Less(const a_ctemplate& a, const a_ctemplate& b) {
    return std::memcmp(&a, &b, sizeof(a_ctemplate)) < 0;  // unsigned bytes
}

struct a_paper_size {
    const char* name;
    a_fpoint size;
};

const a_paper_size kPaperSizes[] = {
    {"US Letter", {215.9f, 279.4f}}, {"US Legal", {215.9f, 355.6f}}, {"11x17", {279.4f, 431.8f}},
    {"A3", {297, 420}},              {"A4", {210, 297}},             {"A5", {148.5f, 210}},
    {"A6", {105, 148.5f}},           {"Epson Tray #1", {210, 254}},  {"Epson Tray #2", {150, 270}},
};

}  // namespace

int Catalogue_Count() { return NTEMPLATES; }

void Get_CTemplate(a_ctemplate& ctemplate, int index) {
    if (index < 1 || index > NTEMPLATES) InternalError();
    std::memcpy(&ctemplate, g_catalogue_bytes + size_t(index - 1) * sizeof(a_ctemplate),
                sizeof(a_ctemplate));
}

bool Is_Template_In_Cat(const a_unit_kind_set& kindset, const a_ctemplate& ctemplate) {
    if (!Has_Flag(ctemplate.platforms, PLATFORM_WIN)) return false;
    if (kindset.none()) return true;
    uint32_t n = CTemplate_NGroups(ctemplate);
    for (uint32_t g = 0; g < n; ++g) {
        const a_cunit& u = ctemplate.units[g];
        if (u.kind < NUNIT_KINDS && kindset.test(u.kind) && !Has_Flag(u.uflags, UNIT_NOTINDEXED))
            return true;
    }
    return false;
}

void Build_Paper_List2(const a_unit_kind_set& kindset) {
    std::vector<a_ctemplate> all(static_cast<size_t>(NTEMPLATES));
    for (int i = 1; i <= NTEMPLATES; ++i) Get_CTemplate(all[i - 1], i);
    const std::vector<a_ctemplate>& own = User_Catalogue();
    all.insert(all.end(), own.begin(), own.end());
    for (const a_ctemplate& t : Project_Sheets())
        if (!User_Template(t.label)) all.push_back(t);
    Build_Paper_List_From(all, kindset);
}

void Build_Paper_List_From(const std::vector<a_ctemplate>& records, const a_unit_kind_set& kindset) {
    tlist.clear();
    tlist.reserve(MAXNTEMPLATES);
    for (const a_ctemplate& t : records) {
        if (static_cast<int>(tlist.size()) >= MAXNTEMPLATES) break;
        if (Is_Template_In_Cat(kindset, t)) tlist.push_back(t);
    }
    tlist.shrink_to_fit();
    // In-place heap sort; equal records are identical, so instability is invisible.
    std::make_heap(tlist.begin(), tlist.end(), Record_Less);
    std::sort_heap(tlist.begin(), tlist.end(), Record_Less);
}

void Build_Template_List() { Build_Paper_List2(a_unit_kind_set().set()); }

int TList_Count() { return static_cast<int>(tlist.size()); }

const a_ctemplate& TList_Get(int index) {
    if (index < 1 || index > TList_Count()) InternalError();
    return tlist[index - 1];
}

int Find_Template(const char (&label)[32]) {
    for (size_t i = 0; i < tlist.size(); ++i)
        if (std::memcmp(tlist[i].label, label, 32) == 0) return static_cast<int>(i) + 1;
    return 0;
}

int Find_Template(const std::string& label) {
    char l[32];
    Label_Set(l, label);
    return Find_Template(l);
}

void Extract_Brand(std::string& brand, const char (&label)[32]) {
    brand.clear();
    for (char c : label) {
        if (c == ' ' || c == '\0') break;
        brand += (c == '_') ? ' ' : c;
    }
}

int Filter_Template_Name(std::u16string& ustr, const char (&label)[32]) {
    ustr.clear();
    // The label is in the system code page; its escapes are ASCII, so they
    // read the same after widening.
    std::u16string wide = Utf8_To_Utf16(std::string_view(label, strnlen(label, 32)));
    size_t n = wide.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = wide[i];
        if (c == u'_') {
            ustr += u' ';
        } else if (c == u'@' && i + 1 < n) {
            char16_t e = wide[i + 1];
            int str = e == u'A' ? STR_PLAIN_PAPER : e == u'C' ? STR_CORNER
                    : e == u'L' ? STR_LANDSCAPE : e == u'P' ? STR_PORTRAIT : 0;
            if (str) {
                ustr += Get_Translated_UString(str, MAIN_STR_ID);
                ++i;
            } else if (e == u'2') {
                ustr += u'\u00BD';
                ++i;
            } else {
                ustr += u'@';
            }
        } else {
            ustr += c;
        }
    }
    if (ustr.size() > 255) ustr.resize(255);
    return static_cast<int>(ustr.size());
}

std::u16string Filter_Template_Name(const std::string& label) {
    char l[32];
    Label_Set(l, label);
    std::u16string s;
    Filter_Template_Name(s, l);
    return s;
}

void UnitKind_To_Str(std::u16string& str, int kind) {
    if (kind == UNIT_BLURAY_WRAP) {
        str = Get_Translated_UString(STR_BLURAY_WRAP, MAIN_STR_ID);  // the kind list has no entry
        return;
    }
    str = Get_Translated_UString(kind + 1, UNITKIND_STR_ID);
}

int PaperBar_Find(char letter) {
    for (char c = letter; c <= 'Z'; ++c) {
        for (size_t i = 0; i < tlist.size(); ++i)
            if (tlist[i].sort[0] == c) return static_cast<int>(i) + 1;
    }
    return 32000;
}

bool Is_Equal_PaperSize(a_fpoint a, a_fpoint b) { return a.x == b.x && a.y == b.y; }

void PaperSize_To_Str(std::string& str, a_fpoint size) {
    str.clear();
    for (const a_paper_size& p : kPaperSizes)
        if (Is_Equal_PaperSize(p.size, size)) {
            str = p.name;
            return;
        }
}

void Label_Set(char (&label)[32], const std::string& text) {
    std::memset(label, 0, sizeof label);
    std::memcpy(label, text.data(), std::min(text.size(), sizeof label));
}

std::string Label_Text(const char (&label)[32]) { return std::string(label, strnlen(label, 32)); }

void Templates_Init() {
    std::string error;
    (void)User_Catalogue_Load(error);  // a damaged file keeps its sheets out, and is kept
    Build_Template_List();
}

void Templates_Stop() {
    tlist.clear();
    tlist.shrink_to_fit();
}
