#include "templates/designer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/messages.h"
#include "base/string_ids.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/layout_text.h"

namespace {

constexpr float kMmPerInch = 25.4f;
// The sizes a project can hold: a sheet outside them could be designed on
// but never opened again.
constexpr float kMinPaper = 50.0f, kMaxPaper = 1000.0f;
constexpr float kOffSheetSlack = 1.0f;  // mm a label may stand over the edge

const a_fpoint kPapers[NDESIGN_PAPERS - 1] = {
    {215.9f, 279.4f}, {215.9f, 355.6f}, {279.4f, 431.8f}, {101.6f, 152.4f},
    {297, 420},       {210, 297},       {148.5f, 210},    {105, 148.5f},
};

constexpr uint32_t kDialogUnitFlags = Flag_Bit(UNIT_STAGGERED) | Flag_Bit(UNIT_SHORTODD) |
                                      Flag_Bit(UNIT_CLOBBERS) | Flag_Bit(UNIT_NOTINDEXED) |
                                      Flag_Bit(UNIT_CROPMARKS);

void Set_TFlag(a_ctemplate& t, unsigned bit, bool on) {
    uint32_t f = t.tflags;
    t.tflags = on ? (f | Flag_Bit(bit)) : (f & ~Flag_Bit(bit));
}

// The geometry the units menu converts: box, pitch and measures, not bleeds.
template <typename F>
void For_Geometry(a_cunit& g, F f) {
    static const size_t kOffsets[] = {
        offsetof(a_cunit, bboxleft), offsetof(a_cunit, bboxtop), offsetof(a_cunit, bboxwidth),
        offsetof(a_cunit, bboxheight), offsetof(a_cunit, pitchx), offsetof(a_cunit, pitchy),
        offsetof(a_cunit, meas1), offsetof(a_cunit, meas2), offsetof(a_cunit, meas3), offsetof(a_cunit, meas4)};
    for (size_t off : kOffsets) CUnit_Set_Real(g, off, f(CUnit_Real(g, off)));
}

float Convert(float v, bool to_inches) { return to_inches ? v / kMmPerInch : v * kMmPerInch; }

std::string Design_Text(int str) {
    std::string s;
    Get_Translated_String(str, DESIGN_STR_ID, s);
    return s;
}

void Add(std::vector<a_design_problem>& out, int item, int section, int str) {
    out.push_back({item, section, Design_Text(str)});
}

// A sheet in the units' own frame: turned for landscape.
a_fpoint Units_Frame(const a_ctemplate& t) {
    a_fpoint p = CTemplate_Paper(t);
    return Has_Flag(t.tflags, IS_LANDSCAPE) ? a_fpoint{p.y, p.x} : p;
}

void Group_Problems(const a_ctemplate& t, std::vector<a_design_problem>& out, bool& any_valid) {
    uint64_t total = 0;
    for (int g = 0; g < MAXNGROUPS; ++g) {
        const a_cunit& u = t.units[g];
        if (u.kind == UNIT_EMPTY) continue;
        const bool blank = u.nx == 0 && u.ny == 0 && u.bboxwidth == 0 && u.bboxheight == 0;
        if (Is_Unit_Valid(u) == UNITV_VALID && u.bboxwidth > 0 && u.bboxheight > 0) {
            any_valid = true;
        } else if (!blank) {
            // Half a group: counts without a size, a size without counts, or
            // a size below zero, which the layout text could not hold.
            int item = u.nx == 0 ? DES_NX : u.ny == 0 ? DES_NY : !(u.bboxwidth > 0) ? DES_UWIDTH : DES_UHEIGHT;
            Add(out, item, g + 1, DES_STR_PARTLY);
        }
        total += CUnit_Count(u);
    }
    if (total > MAXNUNITS) Add(out, DES_NX, 0, DES_STR_TOO_MANY);
}

// Each label of the expanded design on the sheet, give or take a millimetre.
void Sheet_Problems(const a_ctemplate& sorted, std::vector<a_design_problem>& out) {
    a_template x;
    Expand_Template(sorted, x);
    a_fpoint frame = Units_Frame(sorted);
    for (uint32_t ux = 1; ux <= x.nunits; ++ux) {
        const a_frect& b = x.units[ux].bbox;
        if (b.left < -kOffSheetSlack || b.top < -kOffSheetSlack || b.right > frame.x + kOffSheetSlack ||
            b.bottom > frame.y + kOffSheetSlack) {
            Add(out, DES_LEFT, 0, DES_STR_OFF_SHEET);
            return;
        }
    }
}

}  // namespace

a_fpoint Design_Paper_Size(int paper_popx) {
    if (paper_popx < 1 || paper_popx >= DESIGN_PAPER_CUSTOM) return {};
    return kPapers[paper_popx - 1];
}

int Design_Paper_Item(a_fpoint size) {
    for (int i = 1; i < DESIGN_PAPER_CUSTOM; ++i)
        if (Is_Equal_PaperSize(kPapers[i - 1], size)) return i;
    return DESIGN_PAPER_CUSTOM;
}

void AskDes_Init(a_askdesign_rec& d) {
    d = a_askdesign_rec{};
    std::memcpy(d.ctemplate.sort, "SORT________", sizeof d.ctemplate.sort);
    d.ctemplate.platforms = Flag_Bit(PLATFORM_MAC) | Flag_Bit(PLATFORM_WIN);
    d.ctemplate.nunits = 1;
    AskDes_SetPaper(d, 1);
    AskDes_SetPitch(d, 1);
    AskDes_Store(d);
}

void AskDes_SetPaper(a_askdesign_rec& d, int paper_popx) {
    if (paper_popx < 1 || paper_popx > NDESIGN_PAPERS) return;
    d.paper_popx = paper_popx;
    if (paper_popx != DESIGN_PAPER_CUSTOM) {
        a_fpoint p = Design_Paper_Size(paper_popx);
        d.ctemplate.papersize.x = p.x;
        d.ctemplate.papersize.y = p.y;
    }
}

void AskDes_SetOrientation(a_askdesign_rec& d, int orient_popx) {
    d.orient_popx = orient_popx == 2 ? 2 : 1;
    Set_TFlag(d.ctemplate, IS_LANDSCAPE, d.orient_popx == 2);
}

void AskDes_SetPitch(a_askdesign_rec& d, int pitch_popx) {
    d.pitch_popx = pitch_popx == 2 ? 2 : 1;
    Set_TFlag(d.ctemplate, IS_PITCHBETWEEN, d.pitch_popx == 1);
}

void AskDes_SetUnits(a_askdesign_rec& d, int units_popx) {
    units_popx = units_popx == 2 ? 2 : 1;
    if (units_popx == d.units_popx) return;
    const bool to_inches = units_popx == 2;
    a_ctemplate before = d.ctemplate;
    for (int g = 0; g < MAXNGROUPS; ++g) {
        a_cunit& now = d.ctemplate.units[g];
        if (!d.have_before) {
            For_Geometry(now, [&](float v) { return Convert(v, to_inches); });
            continue;
        }
        // A value still equal to what the last change made of it goes back
        // to what it was; anything typed since is converted.
        float old[10];
        int k = 0;
        a_cunit prev = d.before_units.units[g];
        For_Geometry(prev, [&](float v) { return old[k++] = v; });
        k = 0;
        For_Geometry(now, [&](float v) {
            float was = old[k++];
            float made = Convert(was, !to_inches);
            return std::bit_cast<uint32_t>(made) == std::bit_cast<uint32_t>(v) ? was : Convert(v, to_inches);
        });
    }
    d.before_units = before;
    d.have_before = true;
    d.units_popx = units_popx;
    Set_TFlag(d.ctemplate, IS_INCHES, to_inches);
}

a_cunit& AskDes_Section(a_askdesign_rec& d) { return d.ctemplate.units[d.sectionx - 1]; }

void AskDes_StoreSection(a_askdesign_rec& d, const a_cunit& shown) {
    a_cunit g = shown;
    g.uflags = g.uflags & kDialogUnitFlags;
    if (g.kind >= NUNIT_KINDS) g.kind = UNIT_EMPTY;
    AskDes_Section(d) = g;
}

void AskDes_ClearSection(a_askdesign_rec& d) {
    a_cunit& g = AskDes_Section(d);
    uint8_t kind = g.kind;
    g = a_cunit{};
    g.kind = kind;
}

void AskDes_Store(a_askdesign_rec& d) {
    if (d.sectionx < 1 || d.sectionx > MAXNGROUPS) d.sectionx = 1;
    d.ctemplate.label[sizeof d.ctemplate.label - 1] = '\0';  // at most 31 characters
    uint32_t n = 0;
    for (const a_cunit& g : d.ctemplate.units) n += g.kind != UNIT_EMPTY;
    d.ctemplate.nunits = n;
    d.valid = AskDes_IsValid(d);
    d.xavail = false;
    if (d.valid) {
        Expand_Template(AskDes_Record(d), d.xtemplate);
        d.xavail = true;
    }
    d.dispvalid = false;  // the window repaints its preview
}

void AskDes_Load(a_askdesign_rec& d, const a_ctemplate& t) {
    AskDes_Init(d);
    d.ctemplate = t;
    d.orient_popx = Has_Flag(t.tflags, IS_LANDSCAPE) ? 2 : 1;
    d.units_popx = Has_Flag(t.tflags, IS_INCHES) ? 2 : 1;
    d.pitch_popx = Has_Flag(t.tflags, IS_PITCHBETWEEN) ? 1 : 2;
    d.paper_popx = Design_Paper_Item(CTemplate_Paper(t));
    AskDes_Store(d);
}

a_unit_validity Is_Unit_Valid(const a_cunit& u) {
    return u.nx != 0 && u.ny != 0 && u.bboxwidth != 0 && u.bboxheight != 0 ? UNITV_VALID : UNITV_EMPTY;
}

bool AskDes_IsValid(const a_askdesign_rec& d) { return Design_Problems(d.ctemplate).empty(); }

std::vector<a_design_problem> Design_Problems(const a_ctemplate& t) {
    std::vector<a_design_problem> out;
    if (t.label[0] == '\0') Add(out, DES_NAME, 0, DES_STR_NO_NAME);
    a_fpoint p = CTemplate_Paper(t);
    if (!(p.x >= kMinPaper && p.x <= kMaxPaper)) Add(out, DES_WIDTH, 0, DES_STR_PAPER_RANGE);
    if (!(p.y >= kMinPaper && p.y <= kMaxPaper)) Add(out, DES_HEIGHT, 0, DES_STR_PAPER_RANGE);
    bool any_valid = false;
    Group_Problems(t, out, any_valid);
    if (!any_valid) Add(out, DES_SECTION, 0, DES_STR_NO_GROUP);
    if (out.empty()) {
        a_ctemplate sorted;
        Sort_CTemplate(sorted, t);
        Sheet_Problems(sorted, out);
    }
    return out;
}

void Sort_CTemplate(a_ctemplate& dst, const a_ctemplate& src) {
    dst = src;
    uint32_t n = 0;
    for (int g = 0; g < MAXNGROUPS; ++g)
        if (src.units[g].kind != UNIT_EMPTY) dst.units[n++] = src.units[g];
    for (uint32_t g = n; g < MAXNGROUPS; ++g) dst.units[g] = a_cunit{};
    dst.nunits = n;
}

a_ctemplate AskDes_Record(const a_askdesign_rec& d) {
    a_ctemplate t;
    Sort_CTemplate(t, d.ctemplate);
    std::memcpy(t.sort, "SORT________", sizeof t.sort);
    t.platforms = Flag_Bit(PLATFORM_MAC) | Flag_Bit(PLATFORM_WIN);
    return t;
}

// Written compacted: groups left in place behind empty ones would fall
// outside the record's group count and be lost on reading.
std::string AskDes_Save2(const a_askdesign_rec& d) { return Layout_Write(AskDes_Record(d), true); }

std::string AskDes_Export_Name() {
    static int exports = 0;
    std::string s;
    Get_Translated_String(DES_STR_LAYOUT, DESIGN_STR_ID, s);
    return s + std::to_string(++exports);
}

std::string Set_EntryF(float value) {
    char buf[32];
    char* end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

float Get_EntryF(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == ',') c = '.';  // the decimal comma of many desktops
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    if (a == std::string::npos) return 0;
    s = s.substr(a, b - a + 1);
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    float f = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), f);
    if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(f)) return 0;
    return f;
}

uint32_t Get_EntryC(const std::string& text) {
    size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    if (a == std::string::npos) return 0;
    uint32_t n = 0;
    auto [p, ec] = std::from_chars(text.data() + a, text.data() + b + 1, n);
    if (ec != std::errc() || p != text.data() + b + 1) return 0;
    return n;
}

float CUnit_Real(const a_cunit& g, size_t offset) {
    float v = 0;
    if (offset + sizeof v <= sizeof g) std::memcpy(&v, reinterpret_cast<const char*>(&g) + offset, sizeof v);
    return v;
}

void CUnit_Set_Real(a_cunit& g, size_t offset, float value) {
    if (offset + sizeof value <= sizeof g) std::memcpy(reinterpret_cast<char*>(&g) + offset, &value, sizeof value);
}
