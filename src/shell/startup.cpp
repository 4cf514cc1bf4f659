#include "shell/startup.h"

#include "model/document.h"
#include "platform/app.h"
#include "render/gworld.h"
#include "render/pixmap.h"
#include "shell/art_startup.h"
#include "shell/messages.h"
#include "shell/prefs.h"
#include "templates/catalogue.h"

#include <cstddef>

namespace {

a_startup_options g_options;

bool Platform_Start() { return Platform_Init(g_options.headless); }

// The messages learn the document's name for their reports once it exists.
void Document_Start() {
    Doc_Init();
    g_message_hooks.doc_name = Doc_Name;
}

void Document_Stop() {
    g_message_hooks.doc_name = nullptr;
    Doc_Stop();
}

bool Art_Start_Module() { return Art_Init(g_options.open_art); }

struct a_module {
    const char* name;
    bool (*init)();
    void (*stop)();
};

template <void (*F)()>
bool Always() {
    F();
    return true;
}

// The order of start; stopping runs it backwards.
const a_module kModules[] = {
    {"messages", Always<Messages_Init>, Messages_Stop},
    {"platform", Platform_Start, Platform_Stop},
    {"pixmaps", Always<PixMap_Init>, PixMap_Stop},
    {"worlds", Always<GWorld_Init>, GWorld_Stop},
    {"prefs", Always<Prefs_Init>, Prefs_Stop},
    {"art", Art_Start_Module, Art_Stop},
    {"templates", Always<Templates_Init>, Templates_Stop},
    {"document", Always<Document_Start>, Document_Stop},
};

size_t g_started = 0;

}  // namespace

bool Shell_Start(const a_startup_options& options) {
    g_options = options;
    for (const a_module& m : kModules) {
        if (!m.init()) {
            Shell_Stop();
            return false;
        }
        ++g_started;
    }
    return true;
}

void Shell_Stop() {
    while (g_started > 0) {
        --g_started;
        kModules[g_started].stop();
    }
}
