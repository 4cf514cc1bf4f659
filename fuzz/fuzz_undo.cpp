// An undo file is read back from the disk, where anything may have happened
// to it: no content may crash the reader or reach the document unchecked,
// and whatever it accepts must make a document the history can keep again.
#include <cstdint>
#include <cstdlib>

#include "fuzz_start.h"
#include "base/messages.h"
#include "model/snapshot.h"
#include "pixels/pixmap.h"
#include "platform/app.h"
#include "undo_doc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = Fuzz_Start();
    if (!started) return 0;
    Undo_Fuzz_Document();
    if (Check_Image(data, size)) {
        Image_To_Doc(data, size);
        if (!Doc_To_RAM(0) || !Check_Image(ram.image.data(), ram.image.size())) std::abort();
        RAM_Dispose();
    }
    Doc_Dispose();
    return 0;
}
