// The pictures a project carries for its photo blocks: pasted and collage
// pictures as masked worlds ("CLIP"/"CLIM"), and the original bytes of an
// imported file ("EMBD"), each once per source number. Reading gives every
// picture to the effects cache, which numbers its sources anew: the blocks
// that named a stored number are given the new one.
// Process-wide state: the open chunk stream g_chunk (reads and writes); the
// document g_doc (reads; the reader rewrites its photo sources); the effects
// cache (reads; the reader inserts); the written-once list (reads and writes).
#pragma once
#include <cstdint>
#include <string>

#include "model/photo_rec.h"
#include "pixels/gworld.h"
#include "persist/project_file.h"

constexpr int16_t EMBD_VERSION = 1;
constexpr size_t MAX_DONE_SOURCES = 400;

// The source numbers written (or read) so far; at most 400 are remembered.
void Done_Init();
void Done_Add(uint16_t sid);
bool Is_Done(uint16_t sid);
void Done_Stop();

// A path longer than a Path field holds (255 bytes) is also written whole
// in a chunk of its own, numbered with the source number (linked photos:
// LINKED_PATH_BASE on); readers that do not know it skip it and see the
// path cut.
constexpr const char* LONG_PATH_CHUNK = "LPTH";
constexpr size_t MAX_LONG_PATH = 4096;  // PATH_MAX: longer is damage
// Linked photos have no source number: their whole paths are numbered from
// here, in the order the blocks name them, past every source number.
constexpr int32_t LINKED_PATH_BASE = 0x10000;

// Photos whose paths do not fit a Path field: `kept` are stored whole,
// `cut` could not be (a photo without a source number).
struct a_long_paths {
    int kept = 0;
    int cut = 0;
};

// Every photo block's picture that is not in the art database, each source
// once. `progress` gets 0 .. 1000 as the units go by.
a_long_paths Write_Embedded(void (*progress)(int permille) = nullptr);
// `project_path` is the file being read: a missing picture file is looked
// for in its folder, and nowhere else. Returns how many pictures could be
// neither decoded nor found: they show the missing-picture pattern.
int Read_Embedded(const std::string& project_path, a_defect_set& defects);

// The picture at the photo's stored path; failing that, a file of the same
// name in the project's folder, which then becomes the stored path. False
// when neither can be read.
[[nodiscard]] bool Attempt_Repair_Photo(a_ph_rec& ph, const std::string& project_path,
                                        a_masked_gworld& out);
