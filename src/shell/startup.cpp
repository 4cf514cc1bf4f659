#include "shell/startup.h"

#include "images/pack.h"
#include "images/photo_draw.h"
#include "paint/paint_design.h"
#include "model/document.h"
#include "model/history.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "render/canvas.h"
#include "render/effects_cache.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "shell/art_startup.h"
#include "shell/commands.h"
#include "shell/doc_keys.h"
#include "shell/project_services.h"
#include "shell/recovery.h"
#include "shell/registry.h"
#include "shell/window_pos.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "templates/catalogue.h"
#include "ui/interface.h"
#include "text/text_blocks.h"
#include "ui/text_sliders.h"

#include <cstddef>

namespace {

a_startup_options g_options;

bool Platform_Start() { return Platform_Init(g_options.headless, !g_options.light); }

// The messages learn the document's name for their reports once it exists.
a_listener_token g_doc_name_token = 0;

void Document_Start() {
    Doc_Init();
    g_doc_name_token = g_message_services.doc_name.Install(Doc_Name);
}

void Document_Stop() {
    g_message_services.doc_name.Remove(g_doc_name_token);
    Doc_Stop();
}

// A display too small for the window ends the start before anything heavy
// is opened.
bool Screen_Start() {
    if (g_options.screen_width == 0 && g_options.screen_height == 0) return true;
    if (Screen_Large_Enough(g_options.screen_width, g_options.screen_height)) return true;
    OK_Alert(ALERT_SMALL_SCREEN, false);
    return false;
}

bool Art_Start_Module() { return Art_Init(g_options.open_art); }

// The file types are made known at every start of the program; a failure
// matters to nobody.
void Registry_Start() {
    if (!g_options.register_types) return;
    std::string exe = Program_Folder();
    if (!exe.empty()) (void)Init_Registry(User_Data_Home(), exe + "/cirquel");
}

void Nothing() {}

struct a_module {
    const char* name;
    bool (*init)();
    void (*stop)();
    bool light = false;  // started by a light start too
};

template <void (*F)()>
bool Always() {
    F();
    return true;
}

// The order of start; stopping runs it backwards, so the undo history,
// whose files hold the document's past, goes last.
const a_module kModules[] = {
    {"messages", Always<Messages_Init>, Messages_Stop, true},
    {"history", Always<History_Init>, History_Stop, true},
    {"platform", Platform_Start, Platform_Stop, true},
    {"pixmaps", Always<PixMap_Init>, PixMap_Stop, true},
    {"worlds", Always<GWorld_Init>, GWorld_Stop, true},
    {"prefs", Always<Prefs_Init>, Prefs_Stop, true},
    {"screen", Screen_Start, Nothing},
    {"art", Art_Start_Module, Art_Stop},
    {"registry", Always<Registry_Start>, Nothing},
    {"templates", Always<Templates_Init>, Templates_Stop},
    {"document", Always<Document_Start>, Document_Stop},
    {"text", Always<Text_Init>, Text_Stop},
    {"effects cache", Always<Cache_Init>, Cache_Stop},
    {"canvas", Always<Canvas_Init>, Canvas_Stop},
    {"photo drawing", Always<Photo_Draw_Init>, Photo_Draw_Stop},
    {"collage", Always<Pack_Init>, Pack_Stop},
    {"paint", Always<Paint_Init>, Paint_Stop},
    {"interface", Always<Interface_Init>, Interface_Stop},
    {"text sliders", Always<Text_Sliders_Init>, Text_Sliders_Stop},
    {"project services", Always<Project_Services_Init>, Project_Services_Stop},
    {"recovery", Always<Recovery_Init>, Recovery_Stop},
    {"commands", Always<Commands_Init>, Commands_Stop},
    {"document keys", Always<Doc_Keys_Init>, Doc_Keys_Stop},
};

constexpr size_t kModuleCount = sizeof kModules / sizeof kModules[0];
// Which modules run: a light start leaves gaps, so stopping asks each one.
bool g_running[kModuleCount] = {};

}  // namespace

bool Shell_Start(const a_startup_options& options) {
    g_options = options;
    for (size_t i = 0; i < kModuleCount; ++i) {
        // A full start after a light one starts what the light one left out.
        // The toolkit of a light start cannot draw: a full start starts it again.
        bool again = !options.light && kModules[i].init == Platform_Start;
        if ((g_running[i] && !again) || (options.light && !kModules[i].light)) continue;
        if (!kModules[i].init()) {
            Shell_Stop();
            return false;
        }
        g_running[i] = true;
    }
    return true;
}

void Shell_Stop() {
    for (size_t i = kModuleCount; i-- > 0;) {
        if (!g_running[i]) continue;
        g_running[i] = false;
        kModules[i].stop();
    }
}

std::vector<std::string> Shell_Module_Names() {
    std::vector<std::string> names;
    for (const a_module& m : kModules) names.push_back(m.name);
    return names;
}

bool Shell_Write_Prefs() {
    if (Prefs_Write()) return true;
    OK_Alert(ALERT_PREFS_WRITE, false);
    return false;
}
