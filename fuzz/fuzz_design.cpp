// Design descriptions are written by hand and by other programs: no text may
// crash the reader or leave a half-read document behind, and a refusal is one
// line that names a line of the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/messages.h"
#include "model/document.h"
#include "paint/paint_design.h"
#include "persist/design_file.h"
#include "pixels/gworld.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "templates/catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = (PixMap_Init(), Platform_Init(true)) && (GWorld_Init(), Templates_Init(), Doc_Init(), Paint_Init(), true) &&
                          std::atexit(Platform_Stop) == 0 &&
                          g_message_services.recovery.Install([] { std::abort(); }) != 0;
    if (!started) return 0;
    a_design_options options;
    options.load_pictures = false;  // no files are opened for what a fuzzer writes
    std::string error;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (Design_Read(text, options, error)) {
        if (!g_doc.doc_open || g_doc.doc_template.nunits == 0) std::abort();
        Doc_Dispose();
    } else {
        if (g_doc.doc_open || error.empty() || error.find('\n') != std::string::npos) std::abort();
    }
    return 0;
}
