#include "shell/messages.h"

#include "shell/string_ids.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

// English texts needed before the resource lists exist.
const std::map<std::pair<int, int>, const char*>& English() {
    static const std::map<std::pair<int, int>, const char*> table = {
        {{MAIN_STR_ID, STR_OK}, "OK"},
        {{MAIN_STR_ID, STR_SAVE_BEFORE_SWITCH}, "Save changes to \"^0\" before switching layouts?"},
        {{MAIN_STR_ID, STR_DONT_SAVE}, "Don't Save"},
        {{MAIN_STR_ID, STR_SAVE}, "Save"},
        {{MAIN_STR_ID, STR_UNTITLED}, "Untitled"},
        {{MAIN_STR_ID, STR_CANCEL}, "Cancel"},
        {{MAIN_STR_ID, STR_EMPTY}, "Empty"},
        {{MAIN_STR_ID, STR_ALL_KINDS}, "All kinds"},
        {{MAIN_STR_ID, STR_ALL_BRANDS}, "All brands"},
        {{MAIN_STR_ID, STR_PLAIN_PAPER}, "Plain paper"},
        {{MAIN_STR_ID, STR_CORNER}, "corner"},
        {{MAIN_STR_ID, STR_LANDSCAPE}, "landscape"},
        {{MAIN_STR_ID, STR_PORTRAIT}, "portrait"},
        {{MAIN_STR_ID, STR_CLONE_QUESTION},
         "The current label section is an original label.  Are you sure you want to turn this "
         "label into a clone of the label above?"},
        {{MAIN_STR_ID, STR_BLURAY_WRAP}, "Blu-ray Case Wrap"},
        {{ALERT_STR_ID, ALERT_INTERNAL_ERROR}, "Internal Error - Program has crashed."},
        {{ALERT_STR_ID, ALERT_OUT_OF_MEMORY}, "Sorry, you have run out of memory."},
        {{ALERT_STR_ID, ALERT_MISSING_DATA},
         "Sorry, your program file is missing a piece of data, and cannot continue.\r\n[^0  ^1]"},
        {{ALERT_STR_ID, ALERT_CANNOT_READ}, "Sorry, could not read the file."},
        {{ALERT_STR_ID, ALERT_NOT_ENOUGH_MEMORY}, "Sorry, there is not enough memory to do this. "},
        {{ALERT_STR_ID, ALERT_IMAGE_TOO_LARGE},
         "Sorry, this image is too large to import.  Please reduce the image so that its width "
         "is less than 4096 pixels."},
        {{ALERT_STR_ID, ALERT_DEEP_IMAGE},
         "Cannot import this image file because it is using more than 8 bits per pixel or a "
         "non-RGB color space like CMYK or LAB.\r\n\r\n\tPlease convert it to 8-bit RGB first."},
        {{IDENTITY_STR_ID, 1}, "Cirquel"},
        {{IDENTITY_STR_ID, 8}, "Cirquel"},
        {{IDENTITY_STR_ID, 10}, "Cirquel"},
    };
    return table;
}

const char* const kUnitKindNames[] = {
    "Empty", "Circle", "Oval", "Rectangle", "Business Card", "Business Card (Folding)",
    "CD / DVD", "CD / DVD Core", "CD Wallet", "Mini-CD (80 mm ring)",
    "Mini-CD (Hockey arena shaped)", "Mini-CD (Rectangular)", "Mini-CD Case Lid",
    "Mini-CD Folding Booklet", "Jewel Case Lid", "Jewel Case Folding Booklet",
    "Jewel Case 3 Panel Booklet", "Jewel Case Slimline Insert", "Jewel Case Spine",
    "Jewel Case Base", "Super Jewel Box Base", "Super Jewel Box DVD Base",
    "Super Jewel Box Booklet", "DVD Box Insert", "DVD Box Booklet", "DVD Box Wrap",
    "Audiocassette Face", "Audiocassette Spines", "Audiocassette J-Card", "Audio Box",
    "DAT Face", "DAT Spine", "DAT J-Card", "VHS Face", "VHS Spine", "VHS Case Wrap (Full)",
    "VHS Case Wrap (1/3)", "VHS Sleeve", "Betacam Face", "Betacam Spine", "Betacam Insert",
    "U-Matic Face", "U-Matic Spine", "U-Matic Insert", "MiniDV Face", "MiniDV Spine",
    "MiniDV Insert", "DVCAM Face", "DVCAM Spine", "DVCAM Insert", "DVCPro Face",
    "DVCPro Spine", "DVCPro Insert", "Status", "Hi8 Face", "Hi8 J-Card", "MD Large Face",
    "MD Face", "MD Spine", "8mm Face", "8mm Spine", "Floppy Disk", "Laminated Card",
    "Video title", "XDCam Insert", "XDCam Face", "VCD Face", "D5 Spine", "D5 Insert",
};

std::string g_params[4];
a_fatal_hook g_fatal_hook = nullptr;

[[noreturn]] void Fatal(int alert) {
    std::string s;
    Get_Translated_String(alert, ALERT_STR_ID, s);
    std::fprintf(stderr, "cirquel: %s\n", s.c_str());
    if (g_fatal_hook) g_fatal_hook();
    std::_Exit(70);
}

}  // namespace

void GetIndString(std::string& s, int listid, int index) {
    s.clear();
    if (listid == UNITKIND_STR_ID) {
        constexpr int n = sizeof(kUnitKindNames) / sizeof(kUnitKindNames[0]);
        if (index >= 1 && index <= n) s = kUnitKindNames[index - 1];
        return;
    }
    auto it = English().find({listid, index});
    if (it != English().end()) s = it->second;
}

void Get_Translated_String(int index, int base, std::string& s) {
    GetIndString(s, base, index);
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '^' && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3') {
            out += g_params[s[i + 1] - '0'];
            ++i;
        } else {
            out += s[i];
        }
    }
    if (out.size() > 255) out.resize(255);
    s = out;
}

std::u16string Get_Translated_UString(int index, int base) {
    std::string s;
    Get_Translated_String(index, base, s);
    return std::u16string(s.begin(), s.end());  // the built-in texts are ASCII
}

void Get_DLOG_String(int index, std::string& s) { Get_Translated_String(index, MAIN_STR_ID, s); }

void Param_Text(const std::string& p0, const std::string& p1, const std::string& p2,
                const std::string& p3) {
    g_params[0] = p0.substr(0, 255);
    g_params[1] = p1.substr(0, 255);
    g_params[2] = p2.substr(0, 255);
    g_params[3] = p3.substr(0, 255);
}

void InternalError() { Fatal(ALERT_INTERNAL_ERROR); }

void OutOfMemory(size_t) { Fatal(ALERT_OUT_OF_MEMORY); }

void MissingKey(int a, int b, int c, int d, const char* type) {
    std::string key = std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." +
                      std::to_string(d);
    Param_Text(type ? type : "", key);
    Fatal(ALERT_MISSING_DATA);
}

void Messages_SetFatalHook(a_fatal_hook hook) { g_fatal_hook = hook; }

void Messages_Init() {}

void Messages_Stop() {}
