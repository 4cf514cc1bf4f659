// cirquel-cli photo: pictures and clip art placed on one unit of a new
// document as the import commands place them, with effect fields applied to
// each, composited as the unit prints.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "artdb/database.h"
#include "cli_args.h"
#include "cli_json.h"
#include "cli_render.h"
#include "commands.h"
#include "images/image_files.h"
#include "images/photo_blocks.h"
#include "model/document.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "shell/art_startup.h"
#include "spec_fields.h"
#include "templates/catalogue.h"
#include "templates/expand.h"

namespace {

constexpr int CLIPART_CATEGORY = 11;
constexpr int PRINT_DPI = 300;

// One block to make: a picture file or a clip-art key, in command-line order.
struct a_photo_item {
    bool symbol = false;
    std::string file;
    a_keyset key;
};

enum a_fit { FIT_NONE, FIT_H, FIT_V, FIT_COVER, FIT_STRETCH };

struct a_photo_args {
    std::string label, out;
    int unit = 1;
    std::vector<a_photo_item> items;
    std::vector<std::string> sets;
    a_spec fields;  // the --set values over the defaults: checked once, before anything is made
    bool subset = false;
    a_fit fit = FIT_NONE;
    bool json = false;
};

bool Parse_Fit(const std::string& s, a_fit& fit) {
    static const struct { const char* name; a_fit fit; } kFits[] = {
        {"h", FIT_H}, {"v", FIT_V}, {"cover", FIT_COVER}, {"stretch", FIT_STRETCH}};
    for (const auto& f : kFits)
        if (s == f.name) return fit = f.fit, true;
    return false;
}

bool Parse_Symbol(const std::string& s, a_keyset& key, std::string& error) {
    if (!Key_From_String(s, key) || Is_Multiple_Key(key) || key.a != CLIPART_CATEGORY)
        return error = Cli_Text("%1 takes a clip-art key %2", {"--symbol", std::to_string(CLIPART_CATEGORY) + ".b.c.d"}), false;
    return true;
}

bool Add_Set(a_photo_args& a, const std::string& assignment, std::string& error) {
    const std::string name = assignment.substr(0, assignment.find('='));
    // The block's kind decides it: a picture or a symbol made with --symbol.
    if (name == "is_symbol") return error = Cli_Text("%1 follows the block: use %2 for clip art", {"is_symbol", "--symbol"}), false;
    if (!Set_Spec_Field(a.fields, assignment, error)) return false;
    a.subset = a.subset || name == "subset";
    a.sets.push_back(assignment);
    return true;
}

bool Check(const a_photo_args& a, std::string& error) {
    if (a.label.empty() || a.items.empty() || a.out.empty())
        return error = Cli_Text("LABEL, an IMAGE or %1, and %2 are needed", {"--symbol", "-o FILE.png"}), false;
    int images = 0;
    bool symbols = false;
    for (const a_photo_item& it : a.items) {
        images += !it.symbol;
        symbols = symbols || it.symbol;
    }
    if (images > PHOTO_MAX_FILES) return error = Cli_Text("at most %1 images", {std::to_string(PHOTO_MAX_FILES)}), false;
    if (a.items.size() > size_t(MAXNOBJECTS))
        return error = Cli_Text("a unit holds at most %1 blocks", {std::to_string(MAXNOBJECTS)}), false;
    if (symbols && (a.fields.scalingh > SYMBOL_MAX_SCALING || a.fields.scalingv > SYMBOL_MAX_SCALING))
        return error = Cli_Text("a symbol's scaling runs to %1", {std::to_string(SYMBOL_MAX_SCALING)}), false;
    return true;
}

bool Parse(const a_cli_args& args, a_photo_args& a, std::string& error) {
    Null_Spec(a.fields);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        const bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value) {
            a.out = args[++i];
        } else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = Cli_Text("bad --unit %1", {args[i]}), false;
        } else if (s == "--set" && has_value) {
            if (!Add_Set(a, args[++i], error)) return false;
        } else if (s == "--fit" && has_value) {
            if (!Parse_Fit(args[++i], a.fit)) return error = Cli_Text("%1 takes one of %2", {"--fit", "h, v, cover, stretch"}), false;
        } else if (s == "--symbol" && has_value) {
            a_photo_item it;
            it.symbol = true;
            if (!Parse_Symbol(args[++i], it.key, error)) return false;
            a.items.push_back(it);
        } else if (s == "--json") {
            a.json = true;
        } else if (s.rfind("-", 0) == 0) {
            return error = Cli_Text("unexpected %1", {s}), false;
        } else if (a.label.empty()) {
            a.label = s;
        } else {
            a.items.push_back(a_photo_item{false, s, {}});
        }
    }
    return Check(a, error);
}

// The --set fields over block omx's record; a crop is kept on the picture.
bool Apply_Fields(const a_photo_args& a, int omx, std::string& error) {
    a_ph_rec& ph = *Curr_PH(omx);
    const Rect whole = ph.spec.subset;
    a_spec spec = ph.spec;
    for (const std::string& s : a.sets)
        if (!Set_Spec_Field(spec, s, error)) return false;
    if (spec.constrainf) spec.scalingv = spec.scalingh;
    if (a.subset) {
        spec.subset = Rect_Sect(spec.subset, whole);
        if (Rect_IsEmpty(spec.subset)) return error = Cli_Text("%1 lies outside the picture", {"subset"}), false;
    }
    ph.spec = spec;
    Photo_Recalc(omx);
    return true;
}

void Apply_Fit(a_fit fit) {
    switch (fit) {
        case FIT_H: Photo_Fit_H(); break;
        case FIT_V: Photo_Fit_V(); break;
        case FIT_COVER: Photo_Cover_P(); break;
        case FIT_STRETCH: Photo_Cover_D(); break;
        case FIT_NONE: break;
    }
}

// Makes the block of `it` on the current unit; its index, or OMX_NONE with a message.
int Make_Block(const a_photo_args& a, const a_photo_item& it, std::string& error) {
    if (it.symbol) {
        if (!OP_Exists(it.key) || !Symbol_New(it.key, a.fields.symbol_color))
            return error = Cli_Text("no clip art has the key %1", {Key_To_String(it.key)}), OMX_NONE;
    } else {
        int code = SCAN_OK;
        if (!Photo_NewP(false, it.file, &code)) {
            error = it.file + ": " + (code == SCAN_OK ? Cli_Text("the unit is full") : One_Line(Scan_Error_Text(code)));
            return OMX_NONE;
        }
    }
    int omx = OMX_NONE;
    return Is_One_Selected(omx) ? omx : OMX_NONE;
}

a_json Block_Record(int omx, const a_photo_item& it) {
    const a_ph_rec& ph = *Curr_PH(omx);
    const Rect& b = ph.dst_box;
    a_json j;
    j["block"] = omx;
    j["kind"] = it.symbol ? "symbol" : "photo";
    if (it.symbol)
        j["key"] = Key_To_String(it.key);
    else
        j["file"] = it.file;
    j["codec"] = Codec_Text(ph.codec);
    j["sid"] = ph.spec.source.sid;
    j["dst_center"] = {ph.dst_center.h, ph.dst_center.v};  // [x, y], as the design file takes it
    j["dst_box"] = {b.top, b.left, b.bottom, b.right};
    j["scalingh"] = ph.spec.scalingh;
    j["scalingv"] = ph.spec.scalingv;
    return j;
}

// Every block made on the unit's design, then the unit written as it prints.
int Place_And_Render(const a_photo_args& a) {
    const uint32_t ux = uint32_t(a.unit);
    Select_Doc_Unit(Find_Clone_Master(ux));  // a clone shows its master's blocks
    std::string error;
    a_json records = a_json::array();
    for (const a_photo_item& it : a.items) {
        const int omx = Make_Block(a, it, error);
        if (omx == OMX_NONE || !Apply_Fields(a, omx, error)) return Cli_Fail("photo", error);
        Apply_Fit(a.fit);
        records.push_back(Block_Record(omx, it));
    }
    const int status = Cli_Write_Unit_Print("photo", ux, PRINT_DPI, a.out);
    if (status == 0 && a.json) std::fputs(Json_Rows(records).c_str(), stdout);
    return status;
}

}  // namespace

int Cmd_Photo(const a_cli_args& args) {
    a_photo_args a;
    std::string error;
    if (!Parse(args, a, error)) return Cli_Fail("photo", error);
    const int tx = a.label.size() < 32 ? Find_Template(a.label) : 0;
    if (tx == 0) return Cli_Fail("photo", Cli_Text("no template named \"%1\"", {a.label}));
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(tx), *t);
    if (uint32_t(a.unit) > t->nunits)
        return Cli_Fail("photo", Cli_Text("unit %1 of a template with %2 units", {std::to_string(a.unit), std::to_string(t->nunits)}));
    if (!Cli_Art_Start()) return Cli_Fail("photo", Cli_Text("no art database found"));
    Doc_New(*t);
    const int status = Place_And_Render(a);
    Doc_Dispose();
    return status;
}
