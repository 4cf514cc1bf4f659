#include "commands.h"

// Add one line per command; keep the list in the order of the usage text.
int Cmd_Templates(const a_cli_args& args);    // cmd_templates.cpp
int Cmd_Brands(const a_cli_args& args);       // cmd_templates.cpp
int Cmd_Kinds(const a_cli_args& args);        // cmd_templates.cpp
int Cmd_Expand(const a_cli_args& args);       // cmd_templates.cpp
int Cmd_Prefs(const a_cli_args& args);        // cmd_prefs.cpp
int Cmd_Strings(const a_cli_args& args);      // cmd_strings.cpp
int Cmd_Shape(const a_cli_args& args);        // cmd_shape.cpp
int Cmd_Sheet(const a_cli_args& args);        // cmd_shape.cpp
int Cmd_Art(const a_cli_args& args);          // cmd_art.cpp
int Cmd_Image_Info(const a_cli_args& args);   // cmd_image_info.cpp
int Cmd_Export_Test(const a_cli_args& args);  // cmd_export_test.cpp
int Cmd_Effect(const a_cli_args& args);       // cmd_effect.cpp
int Cmd_Canvas(const a_cli_args& args);       // cmd_canvas.cpp
int Cmd_Print(const a_cli_args& args);        // cmd_print.cpp
int Cmd_Printers(const a_cli_args& args);     // cmd_print.cpp
int Cmd_Flex(const a_cli_args& args);         // cmd_print.cpp
int Cmd_Text(const a_cli_args& args);         // cmd_text.cpp
int Cmd_Fonts(const a_cli_args& args);        // cmd_text.cpp
int Cmd_Tracks(const a_cli_args& args);       // cmd_tracks.cpp
int Cmd_Render(const a_cli_args& args);       // cmd_render.cpp
int Cmd_Photo(const a_cli_args& args);        // cmd_photo.cpp
int Cmd_Collage(const a_cli_args& args);      // cmd_collage.cpp
int Cmd_Registration(const a_cli_args& args); // cmd_registration.cpp
int Cmd_Info(const a_cli_args& args);         // cmd_project.cpp
int Cmd_Preview(const a_cli_args& args);      // cmd_project.cpp
int Cmd_Export(const a_cli_args& args);       // cmd_project.cpp
int Cmd_Save(const a_cli_args& args);         // cmd_project.cpp
int Cmd_Design(const a_cli_args& args);       // cmd_design.cpp
int Cmd_Import_Old(const a_cli_args& args);   // cmd_import_old.cpp

const a_cli_command g_cli_commands[] = {
    {"templates", "templates [--brand NAME] [--kind KIND] [--json] | templates --add FILE.layout... | "
                  "templates --remove NAME", "list the label stocks; add or remove sheets of your own",
     Cmd_Templates},
    {"design", "design --name NAME [--paper A4|Letter|...|WxH] [--landscape] [--inches] [--pitch between|edge] "
               "[--cd-printer] --group kind=CD,across=1,down=2,left=..,top=..,w=..,h=..,px=..,py=..,bleed=..,"
               "meas1=..,flags=staggered+... ... [--test-page (--pdf FILE.pdf | --printer QUEUE) [--nudge H,V]] "
               "[--export FILE.layout] [--add]",
     "describe a label sheet, print its test pattern, export it as layout text or add it to your sheets", Cmd_Design},
    {"brands", "brands [--json]", "list the brands of the catalogue", Cmd_Brands},
    {"kinds", "kinds [--json]", "list the kinds of label", Cmd_Kinds},
    {"expand", "expand LABEL [--json]", "expand one layout into its units", Cmd_Expand},
    {"prefs", "prefs [--json] [--reset] [--recent PROJECT.cd4]...", "show (or reset) the preferences; put projects on the recent list", Cmd_Prefs, true},
    {"strings", "strings LIST INDEX [--lang CODE]", "print one string of the interface", Cmd_Strings, true},
    {"shape", "shape LABEL [--unit N] [--holes] [--cutlines] [--grid] [--ls 1-3] -o FILE.png",
     "draw a unit's shape", Cmd_Shape},
    {"sheet", "sheet LABEL [--dpi N] -o FILE.png", "draw a whole sheet", Cmd_Sheet},
    {"art", "art list [--category A] [--json] [--db FILE] | art export KEY -o FILE.png [--db FILE] | "
            "art sheet --category A [--class B] -o FILE.png [--db FILE] | art verify FILE",
     "list, export, show or check art-database records", Cmd_Art},
    {"image-info", "image-info FILE [--json]", "describe an image file as the importer reads it",
     Cmd_Image_Info, true},
    {"export-test", "export-test IMAGE --format bmp|jpeg|tiff|psd|pict|png [--dpi N] -o FILE",
     "read an image and write it in another format", Cmd_Export_Test, true},
    {"effect", "effect IMAGE [--set FIELD=VALUE ...] [--purpose screen|print|collage] [--layers] "
               "-o FILE.png", "render an image through the effect chain", Cmd_Effect},
    {"canvas", "canvas LABEL [--unit N] [--key 2.b.c.d | --index K] [--nrot N] [--flipx] [--flipy] "
               "[--invert] [--darkness V] [--hue V] [--dist V] -o FILE.png", "render a unit's canvas", Cmd_Canvas},
    {"print", "print PROJECT.cd4|DESIGN.json|--template LABEL [--hue V] [--printer QUEUE | --pdf FILE.pdf] [--test-page "
              "[--no-colorbars]] [--nudge H,V] [--copies N]", "print a sheet or a test page", Cmd_Print},
    {"printers", "printers [--json]", "list the print queues", Cmd_Printers},
    {"flex", "flex PROJECT.cd4|DESIGN.json|--template LABEL [--hue V] (--prn FILE.prn | --stick FOLDER [--copies N] "
             "[--speed 1-4] [--verify] [--burn])", "write a disc-publisher job", Cmd_Flex},
    {"text", "text LABEL [--unit N] --text STRING [--layout horz|90|270|vert|circ-cw|circ-ccw|"
             "spiral-cw|spiral-ccw|spoke|contour] [--font FAMILY] [--size PT] [--set FIELD=VALUE ...] "
             "[--color #RRGGBB] [--json] [--dpi N] [-o FILE.png]", "lay out one text block on a unit and draw it", Cmd_Text},
    {"fonts", "fonts [--json]", "list the font list with numbers and flags", Cmd_Fonts},
    {"tracks", "tracks FILE... [--json] | tracks FILE... --into DESIGN.json|PROJECT.cd4 [--unit N] "
               "[--fields \"#,Name,...\" [--columns \"Name,...\"]] [--style 1-7] -o FILE.png|OUT.cd4",
     "print the song table of a track list, playlist, CUE sheet or audio files, or place it on a unit", Cmd_Tracks},
    {"render", "render DESIGN.json|PROJECT.cd4 [--unit N | --sheet] [--dpi N] [--screen ZOOM] -o FILE.png",
     "composite a described document or a project for the screen or for print", Cmd_Render},
    {"photo", "photo LABEL [--unit N] IMAGE... [--symbol 11.b.c.d ...] [--set FIELD=VALUE ...] "
              "[--fit h|v|cover|stretch] -o FILE.png [--json]",
     "place pictures and clip art on a unit and composite it as it prints", Cmd_Photo},
    {"collage", "collage LABEL --kind grid|ring|ring2|square|lotus [--set FIELD=VALUE ...] [--upright] "
                "[--unit N] [--dpi N] PHOTO... -o FILE.png",
     "pour photos into a collage on a unit, make it one photo and composite the unit as it prints", Cmd_Collage},
    {"registration", "registration DATADIR EXE",
     "write the desktop entry, file types and icons for the program at EXE under DATADIR",
     Cmd_Registration, true},
    {"info", "info PROJECT.cd4 [--json]", "describe a project: template, units, blocks, fonts, defects",
     Cmd_Info},
    {"preview", "preview PROJECT.cd4 -o FILE.png", "write a project's stored preview", Cmd_Preview},
    {"export", "export PROJECT.cd4 --unit N --format bmp|jpeg|tiff|psd|pict|png -o FILE",
     "write one unit of a project as a picture", Cmd_Export},
    {"save", "save DESIGN.json -o PROJECT.cd4 [--embed]",
     "write a described document as a project (--embed: with its photos' files)", Cmd_Save},
    {"import-old", "import-old OLD.cd4 --into PROJECT.cd4|DESIGN.json [--unit N] -o OUT.cd4|FILE.png",
     "import a project of the previous version (or this one) into a unit, then save it or draw the unit",
     Cmd_Import_Old},
    {nullptr, nullptr, nullptr, nullptr},
};
