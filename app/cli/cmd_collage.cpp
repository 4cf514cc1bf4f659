// cirquel-cli collage: photos poured into a collage of one kind on a unit of
// a label stock, made into one photo as the collage's OK does, and the unit
// composited as it prints. It is the design file's "collage" block, built
// from the command line.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "cli_args.h"
#include "cli_render.h"
#include "commands.h"
#include "images/pack_regions.h"
#include "model/document.h"
#include "persist/design_file.h"

namespace {

struct a_collage_args {
    std::string label, out, kind = "ring";
    int unit = 1, dpi = 300;
    bool upright = false;
    std::vector<std::pair<std::string, int>> fields;
    std::vector<std::string> photos;
};

bool Parse_Set(const std::string& s, a_collage_args& a, std::string& error) {
    const size_t eq = s.find('=');
    const a_pack_field* f = eq == std::string::npos ? nullptr : Find_Pack_Field(s.substr(0, eq));
    if (!f) {
        std::string names;
        for (int i = 0; i < PACK_NFIELDS; ++i) names += std::string(i ? ", " : "") + PACK_FIELDS[i].name;
        return error = Cli_Text("%1 takes FIELD=VALUE with FIELD one of %2", {"--set", names}), false;
    }
    int v = 0;
    if (!Cli_Parse_Int(s.substr(eq + 1), f->lo, f->hi, v))
        return error = Cli_Text("%1 takes %2 to %3", {f->name, std::to_string(f->lo), std::to_string(f->hi)}), false;
    a.fields.emplace_back(f->name, v);
    return true;
}

bool Parse(const a_cli_args& args, a_collage_args& a, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        const bool has_value = i + 1 < args.size();
        if (s == "-o" && has_value) {
            a.out = args[++i];
        } else if (s == "--kind" && has_value) {
            a.kind = args[++i];
            if (Find_Pack_Kind(a.kind) < 0) return error = Cli_Text("%1 takes one of %2", {"--kind", "grid, ring, ring2, square, lotus"}), false;
        } else if (s == "--set" && has_value) {
            if (!Parse_Set(args[++i], a, error)) return false;
        } else if (s == "--unit" && has_value) {
            if (!Cli_Parse_Int(args[++i], 1, MAXNUNITS, a.unit)) return error = Cli_Text("bad --unit %1", {args[i]}), false;
        } else if (s == "--dpi" && has_value) {
            if (!Cli_Parse_Int(args[++i], 36, 600, a.dpi)) return error = Cli_Text("--dpi takes %1 to %2", {"36", "600"}), false;
        } else if (s == "--upright") {
            a.upright = true;
        } else if (s.rfind("-", 0) == 0) {
            return error = Cli_Text("unexpected %1", {s}), false;
        } else if (a.label.empty()) {
            a.label = s;
        } else {
            a.photos.push_back(s);
        }
    }
    if (a.label.empty() || a.photos.empty() || a.out.empty())
        return error = Cli_Text("LABEL, at least one PHOTO and %1 are needed", {"-o FILE.png"}), false;
    return true;
}

}  // namespace

int Cmd_Collage(const a_cli_args& args) {
    a_collage_args a;
    std::string error;
    if (!Parse(args, a, error)) return Cli_Fail("collage", error);
    if (!Cli_Art_Start()) return Cli_Fail("collage", Cli_Text("no art database found"));
    nlohmann::json collage = {{"kind", a.kind}, {"upright", a.upright}};
    for (const auto& [name, v] : a.fields) collage[name] = v;
    nlohmann::json photos = nlohmann::json::array();
    std::error_code ec;
    for (const std::string& p : a.photos) photos.push_back(std::filesystem::absolute(p, ec).string());
    collage["photos"] = photos;
    const nlohmann::json design = {{"template", a.label},
                                   {"units", nlohmann::json::array({{{"unit", a.unit}, {"collage", collage}}})}};
    if (!Design_Read(design.dump(2), a_design_options{}, error)) return Cli_Fail("collage", error);
    const int status = Cli_Write_Unit_Print("collage", uint32_t(a.unit), a.dpi, a.out);
    Doc_Dispose();
    return status;
}
