// The undo files: one per ring slot, "UNDO_" and the slot number, in the
// program's private folder, holding that slot's snapshot image. Written
// whole at once when the snapshot leaves memory (the writer keeps the
// interface of a background writer: start, write, stop, wait).
// Process-wide state: the snapshot `ram` (reads and writes), the undo files (reads and writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct a_hist_state;

// Names the slot's file ("" when the private folder cannot be made).
void Create_Undo_File(a_hist_state& s, int slot);
void Background_Start();
// Writes the snapshot to the slot's file; a failure is remembered in file_ok.
void Background_Write(a_hist_state& s, int slot);
void Background_Stop();  // everything counts as written
void Wait_Background();
// The user is told again, once, in the next run of the history.
void Undo_Files_Forget_Told();
// The slot's file, read whole (at most what a snapshot can hold) and checked
// against the open document; false when it cannot be used, with `why`.
[[nodiscard]] bool Read_Undo_File(const a_hist_state& s, std::vector<uint8_t>& image,
                                  std::string* why = nullptr);
// Deletes the slot's file and forgets it.
void Delete_Undo_File(a_hist_state& s);
