// What every fuzz driver starts once: the pixel maps and the toolkit (fonts
// and pictures need it), stopped at exit, and fatal reports made aborts so
// that the input that caused one is kept as a finding.
#pragma once
#include <cstdlib>

#include "base/messages.h"
#include "pixels/pixmap.h"
#include "platform/app.h"

inline bool Fuzz_Start() {
    PixMap_Init();
    return Platform_Init(true) && std::atexit(Platform_Stop) == 0 &&
           g_message_services.recovery.Install([] { std::abort(); }) != 0;
}
