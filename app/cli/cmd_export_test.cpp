// cirquel-cli export-test: decode an image and write it again through
// Export_World, for round-trip checks of the writers.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli_args.h"
#include "commands.h"
#include "images/image_files.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "cirquel-cli export-test: %s\n", message.c_str());
    return 2;
}

struct a_format_name {
    const char* name;
    a_file_format format;
};
const a_format_name kFormats[] = {{"bmp", FMT_BMP},   {"jpeg", FMT_JPEG}, {"tiff", FMT_TIFF},
                                  {"psd", FMT_PSD},   {"pict", FMT_PICT}, {"png", FMT_PNG}};

bool Find_Format(const std::string& name, a_file_format& format) {
    for (const a_format_name& f : kFormats)
        if (name == f.name) {
            format = f.format;
            return true;
        }
    return false;
}

}  // namespace

int Cmd_Export_Test(const a_cli_args& args) {
    std::string in, out, format_name;
    int dpi = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& s = args[i];
        bool has_value = i + 1 < args.size();
        if (s == "--format" && has_value) format_name = args[++i];
        else if (s == "-o" && has_value) out = args[++i];
        else if (s == "--dpi" && has_value) dpi = std::atoi(args[++i].c_str());
        else if (s.rfind("-", 0) == 0) return Fail(Cli_Text("unknown option %1", {s}));
        else if (in.empty()) in = s;
        else return Fail(Cli_Text("unexpected argument %1", {s}));
    }
    a_file_format format = FMT_PNG;
    if (in.empty() || out.empty()) return Fail(Cli_Text("give an image file and %1", {"-o FILE"}));
    if (!Find_Format(format_name, format)) return Fail(Cli_Text("%1 takes one of %2", {"--format", "bmp, jpeg, tiff, psd, pict, png"}));
    a_scan_owner scan_owner;
    a_picture_scan_rec& scan = *scan_owner;
    int err = Read_Image_File(false, in, scan);
    if (err != SCAN_OK) return Fail(Cli_Text("%1: cannot read (%2)", {in, std::to_string(err)}));
    if (dpi <= 0) dpi = scan.dpi_h > 0 ? scan.dpi_h : 300;
    a_gworld_ptr world(Scan_Colour_World(scan));
    scan_owner.reset();
    if (!world) return Fail(Cli_Text("not enough memory"));
    std::string error;
    err = Export_World(format, dpi, out, world.get(), &error);
    if (err == -3) return Fail(error);
    if (err != 0) return Fail(Cli_Text("%1: export failed (%2)", {out, std::to_string(err)}));
    return 0;
}
