// cirquel-cli image-info: what the image readers make of a file.
#include <cstdio>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "images/image_files.h"
#include "cli_json.h"
#include "platform/codepage.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli image-info: %s\n", message.c_str());
    return 2;
}

void Print(const std::string& path, const a_picture_scan_rec& s, bool json) {
    const Rect& b = s.body.bounds;
    std::string codec = Codec_Text(s.codec);
    int world = s.body.fore->pix.pixelSize;
    bool mask = s.body.mask != nullptr;
    if (json) {
        a_json j;
        j["file"] = path;
        j["bounds"] = {b.top, b.left, b.bottom, b.right};
        j["width"] = Rect_Width(b);
        j["height"] = Rect_Height(b);
        j["depth"] = s.depth;
        j["world_depth"] = world;
        j["codec"] = codec;
        j["palette"] = s.ncolors;
        j["mask"] = mask;
        j["transparent_index"] = s.transp ? a_json(s.transpx) : a_json(nullptr);
        j["dpi"] = {s.dpi_h, s.dpi_v};
        j["natural_size"] = {s.natural_width, s.natural_height};
        j["incomplete"] = s.incomplete;
        std::printf("%s\n", Json_Line(j).c_str());
        return;
    }
    std::printf("%s: %d x %d, %d-bit source, %d-bit world, codec \"%s\", %d colours, %s",
                path.c_str(), Rect_Width(b), Rect_Height(b), s.depth, world, codec.c_str(),
                s.ncolors, mask ? "mask" : "no mask");
    if (s.transp) std::printf(", transparent index %d", s.transpx);
    if (s.dpi_h) std::printf(", %d x %d dpi", s.dpi_h, s.dpi_v);
    if (s.natural_width != Rect_Width(b) || s.natural_height != Rect_Height(b))
        std::printf(", scaled down from %d x %d", s.natural_width, s.natural_height);
    if (s.incomplete) std::printf(", incomplete: the file ends before the picture");
    std::printf("\n");
}

}  // namespace

int Cmd_Image_Info(const a_cli_args& args) {
    std::string path;
    bool json = false;
    for (const std::string& s : args) {
        if (s == "--json") json = true;
        else if (s.rfind("-", 0) == 0) return Fail(Cli_Text("unknown option %1", {s}));
        else if (path.empty()) path = s;
        else return Fail(Cli_Text("unexpected argument %1", {s}));
    }
    if (path.empty()) return Fail(Cli_Text("give an image file"));
    a_scan_owner scan_owner;
    a_picture_scan_rec& scan = *scan_owner;
    int err = Read_Image_File(false, path, scan);
    if (err != SCAN_OK) {
        std::string why = Scan_Refusal();
        return Fail(why.empty() ? path + ": " + One_Line(Scan_Error_Text(err)) + " (" + std::to_string(err) + ")"
                                : One_Line(why));
    }
    Print(path, scan, json);
    return 0;
}
