#include "persist/design_file.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <stdexcept>
#include <variant>
#include <vector>

#include "artdb/borders.h"
#include "artdb/database.h"
#include "artdb/pixt.h"
#include "images/pack.h"
#include "images/photo_blocks.h"
#include "base/message_text.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/paint_desc.h"
#include "model/ph_blocks.h"
#include "platform/files.h"
#include "render/canvas.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "platform/codepage.h"
#include "platform/fonts.h"
#include "text/text_blocks.h"
#include "text/text_fields.h"
#include "text/text_layout.h"

namespace {

using json = nlohmann::json;
using a_step = std::variant<std::string, size_t>;  // key or index
using a_path = std::vector<a_step>;

// A field that is wrong: its place in the description and what is wrong.
struct a_field_error {
    a_path path;
    std::string message;
};

[[noreturn]] void Fail(const a_path& path, const std::string& message) {
    throw a_field_error{path, message};
}

struct a_too_deep {};

// --- Lines -----------------------------------------------------------------------------
// nlohmann keeps no positions: a scan of the (already valid) text finds the
// line where the value at `path` starts.

class a_line_finder {
public:
    explicit a_line_finder(const std::string& text) : s_(text) {}
    int Find(const a_path& path) {
        pos_ = 0;
        line_ = 1;
        Skip_Space();
        for (const a_step& step : path) {
            if (!Enter(step)) break;
        }
        return line_;
    }

private:
    void Skip_Space() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' ||
                                    s_[pos_] == '\r')) {
            if (s_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }
    std::string Read_String() {  // at the opening quote; raw contents
        std::string out;
        ++pos_;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            if (s_[pos_] == '\\' && pos_ + 1 < s_.size()) out += s_[pos_++];
            out += s_[pos_++];
        }
        ++pos_;
        return out;
    }
    void Skip_Value() {
        Skip_Space();
        if (pos_ >= s_.size()) return;
        char c = s_[pos_];
        if (c == '"') {
            Read_String();
        } else if (c == '{' || c == '[') {
            int depth = 0;
            while (pos_ < s_.size()) {
                c = s_[pos_];
                if (c == '"') {
                    Read_String();
                    continue;
                }
                if (c == '\n') ++line_;
                if (c == '{' || c == '[') ++depth;
                if (c == '}' || c == ']') --depth;
                ++pos_;
                if (depth == 0) break;
            }
        } else {
            while (pos_ < s_.size() && s_[pos_] != ',' && s_[pos_] != '}' && s_[pos_] != ']' && s_[pos_] != '\n')
                ++pos_;
        }
    }
    // Moves to the start of the member or element `step` of the value here.
    bool Enter(const a_step& step) {
        if (pos_ >= s_.size()) return false;
        const char open = s_[pos_];
        if ((open == '{') != std::holds_alternative<std::string>(step) || (open != '{' && open != '['))
            return false;
        ++pos_;
        for (size_t index = 0;; ++index) {
            Skip_Space();
            if (pos_ >= s_.size() || s_[pos_] == '}' || s_[pos_] == ']') return false;
            bool match;
            if (open == '{') {
                std::string key = Read_String();
                Skip_Space();
                ++pos_;  // the colon
                match = key == std::get<std::string>(step);
            } else {
                match = index == std::get<size_t>(step);
            }
            Skip_Space();
            if (match) return true;
            Skip_Value();
            Skip_Space();
            if (pos_ < s_.size() && s_[pos_] == ',') ++pos_;
        }
    }

    const std::string& s_;
    size_t pos_ = 0;
    int line_ = 1;
};

// Field names come from the text: control characters are shown as '?'.
std::string Printable(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return s;
}

std::string Path_Name(const a_path& path) {
    std::string out;
    for (const a_step& step : path) {
        if (const std::string* key = std::get_if<std::string>(&step)) {
            if (!out.empty()) out += '.';
            out += *key;
        } else {
            out += '[' + std::to_string(std::get<size_t>(step) + 1) + ']';
        }
    }
    return out.empty() ? "description" : out;
}

// --- Fields ----------------------------------------------------------------------------

a_path Sub(const a_path& path, a_step step) {
    a_path p = path;
    p.push_back(std::move(step));
    return p;
}

int Int_Field(const json& obj, const a_path& path, const char* key, int lo, int hi, int dflt) {
    auto it = obj.find(key);
    if (it == obj.end()) return dflt;
    if (!it->is_number_integer())
        Fail(Sub(path, key), Message_Text("must be a whole number from %1 to %2",
                                          {std::to_string(lo), std::to_string(hi)}));
    long long v = it->get<long long>();
    if (v < lo || v > hi)
        Fail(Sub(path, key), Message_Text("%1 is outside %2 to %3",
                                          {std::to_string(v), std::to_string(lo), std::to_string(hi)}));
    return int(v);
}

bool Bool_Field(const json& obj, const a_path& path, const char* key, bool dflt) {
    auto it = obj.find(key);
    if (it == obj.end()) return dflt;
    if (!it->is_boolean()) Fail(Sub(path, key), Message_Text("must be true or false"));
    return it->get<bool>();
}

const std::string& String_Value(const json& v, const a_path& path) {
    if (!v.is_string()) Fail(path, Message_Text("must be a string"));
    const std::string& s = v.get_ref<const std::string&>();
    if (s.size() > DESIGN_MAX_STRING) Fail(path, Message_Text("is longer than 4096 bytes"));
    // Names, paths and text end at a NUL, and other control characters have
    // no glyph: refused rather than cut or shown as boxes. A text's new lines
    // are line breaks, and a tab is kept.
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = uint8_t(s[i]);
        if ((c < 0x20 && c != '\n' && c != '\r' && c != '\t') || c == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
            Fail(path, Message_Text("holds the control character %1 at byte %2", {code, std::to_string(i + 1)}));
        }
    }
    return s;
}

a_keyset Key_Value(const json& v, const a_path& path, int category) {
    const std::string& s = String_Value(v, path);
    int k[4];
    char tail = 0;
    if (std::sscanf(s.c_str(), "%d.%d.%d.%d%c", &k[0], &k[1], &k[2], &k[3], &tail) != 4)
        Fail(path, Message_Text("must be a key a.b.c.d"));
    for (int x : k)
        if (x < 0 || x > 32767) Fail(path, Message_Text("key parts run from 0 to 32767"));
    if (k[0] != category) Fail(path, Message_Text("must be a key of category %1", {std::to_string(category)}));
    return a_keyset{int16_t(k[0]), int16_t(k[1]), int16_t(k[2]), int16_t(k[3])};
}

a_win_pixel32 Colour_Value(const json& v, const a_path& path) {
    const std::string& s = String_Value(v, path);
    unsigned rgb = 0;
    char tail = 0;
    if (s.size() != 7 || std::sscanf(s.c_str(), "#%6x%c", &rgb, &tail) != 1)
        Fail(path, Message_Text("must be a colour #RRGGBB"));
    return a_win_pixel32{uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0};
}

void Check_Keys(const json& obj, const a_path& path, std::initializer_list<const char*> known) {
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        bool ok = false;
        for (const char* k : known) ok = ok || it.key() == k;
        if (!ok) Fail(Sub(path, it.key()), Message_Text("is not a known field"));
    }
}

const json& Object_Value(const json& v, const a_path& path) {
    if (!v.is_object()) Fail(path, Message_Text("must be an object"));
    return v;
}

// --- Canvas and blocks -----------------------------------------------------------------

void Read_Canvas(const json& v, const a_path& path, int kind, a_canvas_spec& cv) {
    const json& o = Object_Value(v, path);
    Check_Keys(o, path, {"key", "darkness", "fuzz_in", "fuzz_out", "saturation", "hue", "dist",
                         "nrot", "flipx", "flipy", "invert"});
    Default_Canvas(kind, cv);
    if (auto it = o.find("key"); it != o.end()) {
        cv.canvas_key = Key_Value(*it, Sub(path, "key"), CANVAS_CATEGORY);
        a_keyset full;
        if (!Find_Full_Canvas(full, cv.canvas_key)) Fail(Sub(path, "key"), Message_Text("no canvas picture has this key"));
    }
    cv.canvas_darkness = int16_t(Int_Field(o, path, "darkness", 0, 95, cv.canvas_darkness));
    cv.canvas_fuzz_in = int16_t(Int_Field(o, path, "fuzz_in", 0, 10, cv.canvas_fuzz_in));
    cv.canvas_fuzz_out = int16_t(Int_Field(o, path, "fuzz_out", 0, 10, cv.canvas_fuzz_out));
    cv.canvas_color_sat = int16_t(Int_Field(o, path, "saturation", 0, 100, cv.canvas_color_sat));
    cv.canvas_color_hue = int16_t(Int_Field(o, path, "hue", 0, 359, cv.canvas_color_hue));
    cv.canvas_color_dist = int16_t(Int_Field(o, path, "dist", 0, 72, cv.canvas_color_dist));
    cv.canvas_nrot = uint16_t(Int_Field(o, path, "nrot", 0, 3, cv.canvas_nrot));
    cv.canvas_flipx = Bool_Field(o, path, "flipx", false);
    cv.canvas_flipy = Bool_Field(o, path, "flipy", false);
    cv.canvas_invert = Bool_Field(o, path, "invert", false);
}

void Read_Spec(const json& v, const a_path& path, bool symbol, a_spec& spec) {
    const json& o = Object_Value(v, path);
    Check_Keys(o, path, {"scaling", "angle", "darkness", "opacity", "corner", "feather", "edge",
                         "saturation", "hue", "dist", "shadow", "shadow_dx", "shadow_dy",
                         "shadow_opacity", "shadow_radius", "flipx", "flipy", "invert",
                         "white_transparent"});
    if (o.contains("scaling"))
        spec.scalingh = spec.scalingv = int16_t(Int_Field(
            o, path, "scaling", PHOTO_MIN_SCALING, symbol ? SYMBOL_MAX_SCALING : PHOTO_MAX_SCALING, 0));
    spec.angle = int16_t(Int_Field(o, path, "angle", -1800, 1800, spec.angle));
    spec.darkness = int16_t(Int_Field(o, path, "darkness", 5, 95, spec.darkness));
    spec.opacity = int16_t(Int_Field(o, path, "opacity", 6, 100, spec.opacity));
    spec.corner = int16_t(Int_Field(o, path, "corner", 0, 100, spec.corner));
    spec.feather = int16_t(Int_Field(o, path, "feather", 0, 40, spec.feather));
    spec.color_sat = int16_t(Int_Field(o, path, "saturation", 0, 100, spec.color_sat));
    spec.color_hue = int16_t(Int_Field(o, path, "hue", 0, 359, spec.color_hue));
    spec.color_dist = int16_t(Int_Field(o, path, "dist", 0, 72, spec.color_dist));
    spec.shadf = Bool_Field(o, path, "shadow", spec.shadf);
    spec.shad_dx = int16_t(Int_Field(o, path, "shadow_dx", -40, 40, spec.shad_dx));
    spec.shad_dy = int16_t(Int_Field(o, path, "shadow_dy", -40, 40, spec.shad_dy));
    spec.shad_opacity = int16_t(Int_Field(o, path, "shadow_opacity", 6, 100, spec.shad_opacity));
    spec.shad_radius = int16_t(Int_Field(o, path, "shadow_radius", 0, 8, spec.shad_radius));
    spec.flipx = Bool_Field(o, path, "flipx", spec.flipx);
    spec.flipy = Bool_Field(o, path, "flipy", spec.flipy);
    spec.invert = Bool_Field(o, path, "invert", spec.invert);
    spec.wtransp = Bool_Field(o, path, "white_transparent", spec.wtransp);
    if (auto it = o.find("edge"); it != o.end()) {
        const std::string& e = String_Value(*it, Sub(path, "edge"));
        static const char* kEdges[] = {"none", "border", "scallop", "rough"};
        int k = -1;
        for (int i = 0; i < 4; ++i)
            if (e == kEdges[i]) k = i;
        if (k < 0) Fail(Sub(path, "edge"), Message_Text("must be none, border, scallop or rough"));
        spec.edge_kind = int16_t(k);
    }
}

Point Center_Value(const json& o, const a_path& path, const Rect& bounds, Point dflt,
                   const char* key = "center") {
    auto it = o.find(key);
    if (it == o.end()) return dflt;
    const a_path p = Sub(path, key);
    if (!it->is_array() || it->size() != 2 || !(*it)[0].is_number_integer() ||
        !(*it)[1].is_number_integer())
        Fail(p, Message_Text("must be [x, y] in the unit's cells"));
    long long x = (*it)[0].get<long long>(), y = (*it)[1].get<long long>();
    if (x < bounds.left || x > bounds.right || y < bounds.top || y > bounds.bottom)
        Fail(p, Message_Text("lies outside the unit (%1 x %2 cells)",
                             {std::to_string(Rect_Width(bounds)), std::to_string(Rect_Height(bounds))}));
    return Point{int16_t(y), int16_t(x)};
}

std::string Resolve(const std::string& folder, const std::string& file) {
    if (file.empty() || file[0] == '/' || folder.empty()) return file;
    return folder + "/" + file;
}

// The block just made (the last) takes the fields of its "spec" object over the defaults it
// was made with, its place and its visibility.
void Finish_Block(const json* spec, const a_path& path, bool symbol, bool hidden, Point center) {
    a_doc_unit& u = *g_doc.up;
    a_oj_item& it = u.oj.list[u.oj.nlist];
    if (it.ph) {
        if (spec) Read_Spec(*spec, path, symbol, it.ph->spec);
        it.ph->dst_center = center;
        Photo_Recalc(u.oj.nlist);
    }
    if (hidden) it.flags = uint8_t(it.flags & ~(1u << VISIBLE_FLAG));
}

// The block's fields by their record names, over what the layout started with.
void Read_Text_Fields(const json& v, const a_path& path, a_om_rec& om) {
    const json& o = Object_Value(v, path);
    const Rect& bounds = g_doc.up->paintbounds;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const std::string& key = it.key();
        if (key == "anchor" || key == "rotcenter") {
            Point& p = key == "anchor" ? om.anchor : om.rotcenter;
            p = Center_Value(o, path, bounds, p, key.c_str());
            continue;
        }
        const a_text_field* f = Find_Text_Field(key);
        if (!f) Fail(Sub(path, key), Message_Text("is not a known field"));
        switch (f->kind) {
            case FIELD_INT: om.*f->i = int16_t(Int_Field(o, path, f->name, f->lo, f->hi, 0)); break;
            case FIELD_BOOL: om.*f->b = Bool_Field(o, path, f->name, false); break;
            case FIELD_COLOR: om.*f->c = Colour_Value(*it, Sub(path, key)); break;
            case FIELD_JUSTIFY: om.justify = uint8_t(Int_Field(o, path, f->name, f->lo, f->hi, 0)); break;
        }
    }
}

void Read_Text_Block(const json& o, const a_path& path) {
    Check_Keys(o, path, {"text", "layout", "font", "size", "fields", "hidden"});
    const a_path tp = Sub(path, "text");
    std::string utf8 = String_Value(o["text"], tp);
    // A new line in the description is a line break in the block.
    for (char& c : utf8)
        if (c == '\n') c = '\r';
    const std::u16string text = Utf8_To_Utf16(utf8);
    if (text.size() > size_t(MAX_TEXT_CHARS))
        Fail(tp, Message_Text("holds more than %1 characters", {std::to_string(MAX_TEXT_CHARS)}));
    int layout = LAYOUT_HORZ;
    if (auto it = o.find("layout"); it != o.end()) {
        layout = Find_Text_Layout(String_Value(*it, Sub(path, "layout")));
        if (layout < 0) Fail(Sub(path, "layout"), Message_Text("must be one of %1", {Text_Layout_Names()}));
    }
    int font = std::max(1, Font_Base_Proportional());
    if (auto it = o.find("font"); it != o.end()) {
        const std::string& name = String_Value(*it, Sub(path, "font"));
        font = name.size() < 256 ? Font_Find(Utf8_To_Utf16(name)) : 0;
        if (font == 0) Fail(Sub(path, "font"), Message_Text("no font named \"%1\"", {name}));
    }
    const int size = Int_Field(o, path, "size", 5, TEXT_LAYOUT_SIZE_LIMITS[layout], 14);
    const bool hidden = Bool_Field(o, path, "hidden", false);
    const int omx = OM_New();
    a_om_rec& om = *g_doc.up->oj.list[omx].om;
    om.fontx = uint32_t(font);
    OM_Start_Layout(om, Curr_Text_Unit(), layout, size);
    if (auto it = o.find("fields"); it != o.end()) Read_Text_Fields(*it, Sub(path, "fields"), om);
    UniStr_To_OM(om, text.c_str());
    OM_Recalc(om, omx);
    Finish_Block(nullptr, path, false, hidden, Point{});
}

void Read_Block(const json& v, const a_path& path, const a_design_options& options) {
    const json& o = Object_Value(v, path);
    const bool photo = o.contains("photo"), symbol = o.contains("symbol");
    if (o.contains("text")) {
        if (photo || symbol) Fail(path, Message_Text("needs one of photo, symbol or text"));
        return Read_Text_Block(o, path);
    }
    if (photo == symbol) Fail(path, Message_Text("needs one of photo, symbol or text"));
    Check_Keys(o, path, {"photo", "symbol", "color", "center", "spec", "hidden"});
    const Rect& bounds = g_doc.up->paintbounds;
    const Point center = Center_Value(o, path, bounds, Rect_Centre(bounds));
    const bool hidden = Bool_Field(o, path, "hidden", false);
    // Checked before anything is made.
    const json* spec = o.contains("spec") ? &o["spec"] : nullptr;
    a_spec scratch;
    Null_Spec(scratch);
    if (spec) Read_Spec(*spec, Sub(path, "spec"), symbol, scratch);
    if (photo) {
        const a_path p = Sub(path, "photo");
        const std::string file = Resolve(options.folder, String_Value(o["photo"], p));
        if (o.contains("color")) Fail(Sub(path, "color"), Message_Text("belongs to symbols only"));
        if (!options.load_pictures) return;
        if (!Photo_New_External(false, center, file)) Fail(p, Message_Text("cannot read the picture %1", {file}));
    } else {
        const a_path p = Sub(path, "symbol");
        const a_keyset key = Key_Value(o["symbol"], p, 11);
        a_win_pixel32 colour{};
        if (auto it = o.find("color"); it != o.end()) colour = Colour_Value(*it, Sub(path, "color"));
        if (!options.load_pictures) return;
        if (!Symbol_New(key, colour)) Fail(p, Message_Text("no clip art has this key"));
    }
    Finish_Block(spec, Sub(path, "spec"), symbol, hidden, center);
}

struct a_collage_photo {
    std::string file;
    int turn = 0;   // tenths of a degree, the user's own turn in the slot
    int size = 0;   // per mille; 0: the size that covers the slot
};

a_collage_photo Read_Collage_Photo(const json& v, const a_path& path, const a_design_options& options) {
    a_collage_photo p;
    if (v.is_string()) {
        p.file = Resolve(options.folder, String_Value(v, path));
        return p;
    }
    const json& o = Object_Value(v, path);
    Check_Keys(o, path, {"photo", "turn", "size"});
    if (!o.contains("photo")) Fail(path, Message_Text("needs a photo"));
    p.file = Resolve(options.folder, String_Value(o["photo"], Sub(path, "photo")));
    p.turn = Int_Field(o, path, "turn", -1800, 1800, 0);
    p.size = Int_Field(o, path, "size", PHOTO_MIN_SCALING, 2500, 0);
    return p;
}

// A collage on the unit: its kind and fields, and the photos poured into its
// slots in order; made into one photo block (above the unit's other
// pictures, under its text) as the collage's OK does.
void Read_Collage(const json& v, const a_path& path, const a_design_options& options) {
    const json& o = Object_Value(v, path);
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != "kind" && it.key() != "upright" && it.key() != "photos" && !Find_Pack_Field(it.key()))
            Fail(Sub(path, it.key()), Message_Text("is not a known field"));
    a_pack_spec spec;
    if (auto it = o.find("kind"); it != o.end()) {
        const int kind = Find_Pack_Kind(String_Value(*it, Sub(path, "kind")));
        if (kind < 0) Fail(Sub(path, "kind"), Message_Text("must be grid, ring, ring2, square or lotus"));
        spec.packkind = uint8_t(kind);
    }
    spec.orient = Bool_Field(o, path, "upright", false) ? 1 : 0;
    for (int i = 0; i < PACK_NFIELDS; ++i) {
        const a_pack_field& f = PACK_FIELDS[i];
        spec.*f.field = int16_t(Int_Field(o, path, f.name, f.lo, f.hi, spec.*f.field));
    }
    std::vector<a_collage_photo> photos;
    if (auto it = o.find("photos"); it != o.end()) {
        const a_path pp = Sub(path, "photos");
        if (!it->is_array()) Fail(pp, Message_Text("must be a list of photos"));
        const size_t slots = size_t(Pack_Slot_Count(spec));
        if (it->size() > slots)
            Fail(pp, Message_Text("lists %1 photos; this %2 collage has %3 slots",
                                  {std::to_string(it->size()), Pack_Kind_Name(spec.packkind), std::to_string(slots)}));
        for (size_t i = 0; i < it->size(); ++i) photos.push_back(Read_Collage_Photo((*it)[i], Sub(pp, i), options));
    }
    if (!options.load_pictures || photos.empty()) return;
    if (g_doc.up->oj.nlist + int(Pack_Slot_Count(spec)) >= MAXNOBJECTS)
        Fail(path, Message_Text("the unit has no room for the collage's slots (400 blocks at most)"));
    Pack_Enter(0);
    try {
        Delta_Pack(spec);
        for (size_t i = 0; i < photos.size(); ++i) {
            bool full = false;
            if (!Pack_Add_Photo(full, photos[i].file))
                Fail(Sub(Sub(path, "photos"), i), Message_Text("cannot read the picture %1", {photos[i].file}));
            const int omx = Slotx_To_Omx(FIRST_SLOT + int(i));
            Slot_Rotate(photos[i].turn, omx);
            if (a_ph_rec* ph = photos[i].size ? Curr_PH(omx) : nullptr)
                ph->spec.scalingh = ph->spec.scalingv = int16_t(photos[i].size);
        }
    } catch (...) {
        (void)Pack_Cancel();
        throw;
    }
    (void)Pack_OK();
}

// --- Paint -----------------------------------------------------------------------------

// The palette's tools by the names a description gives them.
const char* const PAINT_TOOL_NAMES[16] = {
    "brush", "eraser", "spray", "solid-polygon", "solid-oval", "solid-arc", "solid-rect", "",
    "stamp", "select", "bucket", "line", "oval", "arc", "rect", ""};
const char* const MARQUEE_NAMES[3] = {"rect", "oval", "lasso"};
enum : int { SPRAY_TOOL_INDEX = 2, STAMP_TOOL_INDEX = 8 };
const char* const GRAD_KIND_NAMES[6] = {"linear", "ridges", "circular", "contour", "radar", "wavy"};

int Name_Field(const json& o, const a_path& path, const char* key, const char* const* names, int n,
               int dflt) {
    auto it = o.find(key);
    if (it == o.end()) return dflt;
    const std::string& s = String_Value(*it, Sub(path, key));
    std::string known;
    for (int i = 0; i < n; ++i) {
        if (!*names[i]) continue;
        if (s == names[i]) return i;
        known += std::string(known.empty() ? "" : ", ") + names[i];
    }
    Fail(Sub(path, key), Message_Text("\"%1\" is none of %2", {s, known}));
}

std::vector<Point> Points_Value(const json& o, const a_path& path, const Rect& bounds) {
    const a_path p = Sub(path, "points");
    auto it = o.find("points");
    if (it == o.end() || !it->is_array() || it->empty()) Fail(p, Message_Text("must be a list of [x, y] cells"));
    if (it->size() > PAINT_DESC_MAX_POINTS) Fail(p, Message_Text("holds more than 4096 points"));
    std::vector<Point> out;
    for (size_t i = 0; i < it->size(); ++i) {
        const json& pt = (*it)[i];
        const a_path pp = Sub(p, i);
        if (!pt.is_array() || pt.size() != 2 || !pt[0].is_number_integer() || !pt[1].is_number_integer())
            Fail(pp, Message_Text("must be [x, y] in the unit's cells"));
        long long x = pt[0].get<long long>(), y = pt[1].get<long long>();
        if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom)
            Fail(pp, Message_Text("lies outside the unit (%1 x %2 cells)",
                                  {std::to_string(Rect_Width(bounds)), std::to_string(Rect_Height(bounds))}));
        out.push_back(Point{int16_t(y), int16_t(x)});
    }
    return out;
}

// The select tool's marquee and what is done with its cells: moved (or
// copied) by [dx, dy], or deleted.
void Read_Selection(const json& o, const a_path& path, const Rect& bounds, a_paint_stroke_desc& d) {
    d.marquee = Name_Field(o, path, "marquee", MARQUEE_NAMES, 3, 0);
    const size_t need = d.marquee == 2 ? 3 : 2;
    if (d.points.size() < need)
        Fail(Sub(path, "points"),
             Message_Text(d.marquee == 2 ? "a lasso needs 3 points at least" : "needs two corners"));
    const bool move = o.contains("move"), erase = Bool_Field(o, path, "delete", false);
    if (move == erase) Fail(path, Message_Text("the select tool needs either %1 or %2", {"move", "\"delete\": true"}));
    d.erase = erase;
    d.copy = Bool_Field(o, path, "copy", false);
    if (d.copy && !move) Fail(Sub(path, "copy"), Message_Text("goes with %1", {"move"}));
    if (!move) return;
    const a_path mp = Sub(path, "move");
    const json& m = o.at("move");
    if (!m.is_array() || m.size() != 2 || !m[0].is_number_integer() || !m[1].is_number_integer())
        Fail(mp, Message_Text("must be [dx, dy] in cells"));
    const long long dx = m[0].get<long long>(), dy = m[1].get<long long>();
    const int w = Rect_Width(bounds), h = Rect_Height(bounds);
    if (dx < -w || dx > w || dy < -h || dy > h)
        Fail(mp, Message_Text("moves farther than the unit (%1 x %2 cells)", {std::to_string(w), std::to_string(h)}));
    d.move_h = int(dx), d.move_v = int(dy);
}

// A pair [x, y] of whole numbers each within lo .. hi.
void Pair_Field(const json& o, const a_path& path, const char* key, int lo, int hi, int& x, int& y) {
    auto it = o.find(key);
    if (it == o.end()) return;
    const a_path p = Sub(path, key);
    if (!it->is_array() || it->size() != 2) Fail(p, Message_Text("must be [x, y]"));
    for (size_t i = 0; i < 2; ++i) {
        const json& v = (*it)[i];
        if (!v.is_number_integer() || v.get<long long>() < lo || v.get<long long>() > hi)
            Fail(Sub(p, i), Message_Text("must be a whole number from %1 to %2", {std::to_string(lo), std::to_string(hi)}));
    }
    x = int((*it)[0].get<long long>()), y = int((*it)[1].get<long long>());
}

// The stamp, pattern or border a stroke names by its key, checked against
// the art before anything is painted, and the stamp's sliders.
void Read_Stroke_Art(const json& o, const a_path& path, a_paint_stroke_desc& d) {
    auto picture = [&](const char* key, int category, a_keyset& out) {
        auto it = o.find(key);
        if (it == o.end()) return false;
        out = Key_Value(*it, Sub(path, key), category);
        Rect bounds;
        if (!OP_Exists(out) || !KPixt_Bounds(out, bounds)) Fail(Sub(path, key), Message_Text("no picture of the art database has this key"));
        return true;
    };
    const bool stamp = picture("stamp", 8, d.stamp), pattern = picture("pattern", 10, d.pattern);
    const bool border = picture("border", BORDER_CATEGORY, d.border);
    a_bord_spec spec;
    if (border && !Border_Find(d.border, spec)) Fail(Sub(path, "border"), Message_Text("no border of the art database has this key"));
    // The stamp tool and the stamp spray print the stamp; anything else fills with it.
    const bool prints = d.tool == STAMP_TOOL_INDEX || (d.tool == SPRAY_TOOL_INDEX && d.spray_method == 2);
    const int fills = (stamp && !prints) + pattern + border + (d.fill == 3);
    if (fills > 1) Fail(path, Message_Text("fills with more than one of %1", {"gradient, pattern, stamp, border"}));
    if (prints && !stamp) Fail(path, Message_Text("needs a stamp to print"));
    if (pattern) d.fill = 2;
    if (stamp && !prints) d.fill = 4;
    if (border) d.fill = 5;
    d.stamp_size = Int_Field(o, path, "stamp_size", 1, 19, d.stamp_size);
    d.stamp_angle = Int_Field(o, path, "stamp_angle", -180, 180, d.stamp_angle);
    d.stamp_spacing = Int_Field(o, path, "stamp_spacing", 1, 60, d.stamp_spacing);
    d.stamp_stretch = Int_Field(o, path, "stamp_stretch", -50, 50, d.stamp_stretch);
    d.stamp_darkness = Int_Field(o, path, "stamp_darkness", 5, 95, d.stamp_darkness);
    d.stamp_colorshift = Int_Field(o, path, "stamp_colorshift", -128, 128, d.stamp_colorshift);
    Pair_Field(o, path, "stamp_skew", -100, 100, d.stamp_skewx, d.stamp_skewy);
    Pair_Field(o, path, "stamp_bend", -50, 50, d.stamp_bendx, d.stamp_bendy);
}

a_paint_stroke_desc Read_Stroke(const json& v, const a_path& path) {
    const json& o = Object_Value(v, path);
    Check_Keys(o, path, {"tool", "points", "color", "size", "opacity", "thickness", "corner", "spacing",
                         "eraser", "spray_radius", "spray_spread", "spray_method", "symmetry",
                         "symmetry_center", "gradient", "shift", "marquee", "move", "copy", "delete", "stamp",
                         "pattern", "border", "stamp_size", "stamp_angle", "stamp_spacing", "stamp_stretch",
                         "stamp_skew", "stamp_bend", "stamp_darkness", "stamp_colorshift"});
    const Rect& bounds = g_doc.up->paintbounds;
    a_paint_stroke_desc d;
    if (!o.contains("tool")) Fail(path, Message_Text("needs a tool"));
    d.tool = Name_Field(o, path, "tool", PAINT_TOOL_NAMES, 16, 0);
    d.points = Points_Value(o, path, bounds);
    if (auto it = o.find("color"); it != o.end()) {
        a_win_pixel32 c = Colour_Value(*it, Sub(path, "color"));
        d.color = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    }
    d.size = Int_Field(o, path, "size", 1, 120, d.size);
    d.opacity = Int_Field(o, path, "opacity", 6, 100, d.opacity);
    d.thickness = Int_Field(o, path, "thickness", 1, 40, d.thickness);
    d.corner = Int_Field(o, path, "corner", 0, 80, d.corner);
    d.spacing = Int_Field(o, path, "spacing", 1, 60, d.spacing);
    d.eraser = Int_Field(o, path, "eraser", 0, 11, d.eraser);
    d.spray_radius = Int_Field(o, path, "spray_radius", 5, 40, d.spray_radius);
    d.spray_spread = Int_Field(o, path, "spray_spread", 0, 3, d.spray_spread);
    d.spray_method = Int_Field(o, path, "spray_method", 0, 2, d.spray_method);
    d.shift = Bool_Field(o, path, "shift", false);
    if (auto it = o.find("symmetry"); it != o.end()) {
        const a_path sp = Sub(path, "symmetry");
        const json& so = Object_Value(*it, sp);
        Check_Keys(so, sp, {"count", "mirror"});
        d.symmetry = true;
        d.symmetry_count = Int_Field(so, sp, "count", 1, 30, d.symmetry_count);
        d.symmetry_kind = Bool_Field(so, sp, "mirror", false) ? 1 : 0;
    }
    if (o.contains("symmetry_center")) {
        d.symmetry_center = Center_Value(o, path, bounds, Point{}, "symmetry_center");
        d.has_center = true;
    }
    if (auto it = o.find("gradient"); it != o.end()) {
        const a_path gp = Sub(path, "gradient");
        const json& go = Object_Value(*it, gp);
        Check_Keys(go, gp, {"kind", "colors", "angle", "repeat", "twist", "reverse"});
        d.fill = 3;
        d.grad_kind = Name_Field(go, gp, "kind", GRAD_KIND_NAMES, 6, 0);
        d.grad_angle = Int_Field(go, gp, "angle", -180, 180, 0);
        d.grad_rep = Int_Field(go, gp, "repeat", 1, 5, 1);
        d.grad_twist = Int_Field(go, gp, "twist", 0, 1600, 800);
        d.grad_reverse = Bool_Field(go, gp, "reverse", false);
        if (auto ct = go.find("colors"); ct != go.end()) {
            const a_path cp = Sub(gp, "colors");
            if (!ct->is_array() || ct->empty() || ct->size() > PAINT_DESC_MAX_BANDS)
                Fail(cp, Message_Text("must be a list of 1 to 8 colours"));
            d.nbands = int(ct->size());
            for (size_t i = 0; i < ct->size(); ++i) {
                a_win_pixel32 c = Colour_Value((*ct)[i], Sub(cp, i));
                d.bands[i] = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
            }
        }
    }
    if (d.tool == 9) Read_Selection(o, path, bounds, d);
    else if (o.contains("marquee") || o.contains("move") || o.contains("copy") || o.contains("delete"))
        Fail(path, Message_Text("%1 belong to the select tool", {"marquee, move, copy, delete"}));
    Read_Stroke_Art(o, path, d);
    return d;
}

void Read_Paint(const json& v, const a_path& path) {
    if (!v.is_array()) Fail(path, Message_Text("must be a list of strokes"));
    if (v.size() > PAINT_DESC_MAX_STROKES) Fail(path, Message_Text("holds more than 200 strokes"));
    std::vector<a_paint_stroke_desc> strokes;
    for (size_t i = 0; i < v.size(); ++i) strokes.push_back(Read_Stroke(v[i], Sub(path, i)));
    std::string error = Message_Text("painting is not available here");
    bool ok = g_doc_services.paint_strokes.Call_Or([] { return false; }, strokes, error);
    if (!ok) Fail(path, error);
}

void Read_Unit(const json& v, const a_path& path, size_t index, const a_design_options& options) {
    const json& o = Object_Value(v, path);
    Check_Keys(o, path, {"unit", "canvas", "blocks", "collage", "paint"});
    const int n = int(g_doc.doc_template.nunits);
    const int ux = Int_Field(o, path, "unit", 1, n, int(index) + 1);
    a_doc_unit* u = g_doc.doc_units[ux];
    if (u->clonef)
        Fail(Sub(path, "unit"), Message_Text("unit %1 repeats unit %2 (a clone); describe that one",
                                       {std::to_string(ux), std::to_string(Find_Clone_Master(uint32_t(ux)))}));
    Select_Doc_Unit(uint32_t(ux));
    const int kind = g_doc.doc_template.Unit(uint32_t(ux)).kind;
    if (auto it = o.find("canvas"); it != o.end()) Read_Canvas(*it, Sub(path, "canvas"), kind, u->canv.cv);
    if (auto it = o.find("blocks"); it != o.end()) {
        const a_path bp = Sub(path, "blocks");
        if (!it->is_array()) Fail(bp, Message_Text("must be a list of blocks"));
        if (it->size() > DESIGN_MAX_BLOCKS) Fail(bp, Message_Text("holds more than 100 blocks"));
        for (size_t i = 0; i < it->size(); ++i) Read_Block((*it)[i], Sub(bp, i), options);
    }
    if (auto it = o.find("collage"); it != o.end()) Read_Collage(*it, Sub(path, "collage"), options);
    if (auto it = o.find("paint"); it != o.end()) Read_Paint(*it, Sub(path, "paint"));
}

void Read_Document(const json& doc, const a_design_options& options) {
    const a_path root;
    const json& o = Object_Value(doc, root);
    Check_Keys(o, root, {"template", "units"});
    if (!o.contains("template")) Fail(root, Message_Text("needs a template"));
    const std::string& label = String_Value(o["template"], a_path{"template"});
    const int tx = label.size() < 32 ? Find_Template(label) : 0;
    if (tx == 0) Fail(a_path{"template"}, Message_Text("no template named \"%1\"", {label}));
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    Doc_New(*t);
    auto it = o.find("units");
    if (it == o.end()) return;
    const a_path up{"units"};
    if (!it->is_array()) Fail(up, Message_Text("must be a list of units"));
    if (it->size() > g_doc.doc_template.nunits)
        Fail(up, Message_Text("lists %1 units; the template has %2",
                              {std::to_string(it->size()), std::to_string(g_doc.doc_template.nunits)}));
    for (size_t i = 0; i < it->size(); ++i) Read_Unit((*it)[i], Sub(up, i), i, options);
    // Clones show their masters' designs: nothing to copy.
    Select_Doc_Unit(1);
}

int Line_At(const std::string& text, size_t byte) {
    int line = 1;
    for (size_t i = 0; i < byte && i < text.size(); ++i) line += text[i] == '\n';
    return line;
}

}  // namespace

bool Design_Read(const std::string& text, const a_design_options& options, std::string& error) {
    if (text.size() > DESIGN_MAX_BYTES) return error = Message_Text("description is larger than 1 MB"), false;
    json doc;
    try {
        doc = json::parse(text, [](int depth, json::parse_event_t, json&) {
            if (depth > int(DESIGN_MAX_DEPTH)) throw a_too_deep{};
            return true;
        });
    } catch (const json::parse_error& e) {
        const std::string what = e.what();
        const size_t cut = what.find("parse error");
        error = Message_Text("line %1: not JSON: %2", {std::to_string(Line_At(text, e.byte > 0 ? e.byte - 1 : 0)),
                                                          Printable(cut == std::string::npos ? what : what.substr(cut))});
        return false;
    } catch (const json::exception& e) {
        // A number beyond every range: the message quotes it; find its line.
        const std::string what = e.what();
        const size_t q0 = what.find('\''), q1 = what.rfind('\'');
        size_t at = 0;
        if (q0 != std::string::npos && q1 > q0) at = text.find(what.substr(q0 + 1, q1 - q0 - 1));
        error = Message_Text("line %1: not JSON: a number out of range",
                             {std::to_string(Line_At(text, at == std::string::npos ? 0 : at))});
        return false;
    } catch (const a_too_deep&) {
        return error = Message_Text("description nests deeper than 16 levels"), false;
    }
    // The open document stays as it is until the new one is whole.
    auto saved = std::make_unique<a_doc_rec>(g_doc);
    g_doc = a_doc_rec{};
    try {
        Read_Document(doc, options);
    } catch (const a_field_error& e) {
        if (g_doc.doc_open) Doc_Dispose();
        g_doc = *saved;
        if (g_doc.doc_open) Doc_Name_Changed(Doc_Name());
        error = Message_Text("line %1: %2", {std::to_string(a_line_finder(text).Find(e.path)),
                                            Printable(Path_Name(e.path) + ": " + e.message)});
        return false;
    }
    auto made = std::make_unique<a_doc_rec>(g_doc);
    g_doc = *saved;
    if (g_doc.doc_open) Doc_Dispose();
    g_doc = *made;
    Doc_Name_Changed(Doc_Name());
    return true;
}

bool Design_Read_File(const std::string& path, std::string& error) {
    std::vector<uint8_t> data;
    if (File_Read_Limited(path, DESIGN_MAX_BYTES, data, &error) != a_file_read::OK) return false;
    a_design_options options;
    // A photo's path is stored with a project and read from wherever that
    // project is opened: it must not depend on the working folder.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(path, ec).parent_path();
    options.folder = ec ? "." : folder.lexically_normal().string();
    return Design_Read(std::string(data.begin(), data.end()), options, error);
}
