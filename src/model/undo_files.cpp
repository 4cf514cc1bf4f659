#include "model/undo_files.h"

#include <chrono>
#include <new>
#include <thread>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/history.h"
#include "model/snapshot.h"
#include "platform/files.h"
#include "platform/private_folder.h"

namespace {

// A snapshot holds at most 660 blocks of units and paint worlds.
constexpr size_t kMaxUndoFileBytes = size_t(1) << 31;
constexpr int kWaitRounds = 480;
// Steps kept in memory when their files cannot be written.
constexpr int kKeptInMemory = 4;
bool g_told_in_memory = false;

// The step stays in memory; beyond kKeptInMemory the oldest such is let go.
// The user is told once that undo has only these.
void Keep_In_Memory(a_hist_state& s) {
    try {
        s.kept = ram.image;
    } catch (const std::bad_alloc&) {
        s.kept.clear();
    }
    int kept = 0;
    a_hist_state* oldest = nullptr;
    for (a_hist_state& k : g_hist.list) {
        if (k.kept.empty()) continue;
        ++kept;
        if (!oldest || k.seq < oldest->seq) oldest = &k;
    }
    if (kept > kKeptInMemory && oldest) oldest->kept = {};
    if (!g_told_in_memory) OK_Alert(ALERT_UNDO_IN_MEMORY, false);
    g_told_in_memory = true;
}

}  // namespace

void Create_Undo_File(a_hist_state& s, int slot) {
    if (!s.path.empty()) return;
    std::string folder = Private_Folder();
    if (!folder.empty()) s.path = folder + "/UNDO_" + std::to_string(slot);
}

void Background_Start() { ram.nwrit = 0; }

void Background_Write(a_hist_state& s, int slot) {
    Create_Undo_File(s, slot);
    s.file_ok = !s.path.empty() && ram.slot == slot &&
                File_SaveScratch(s.path, ram.image.data(), ram.image.size());
    s.len = s.file_ok ? int32_t(ram.image.size()) : 0;
    s.kept = {};
    if (!s.file_ok && ram.slot == slot) Keep_In_Memory(s);
    ram.nwrit = ram.nlist;
}

void Background_Stop() { ram.nwrit = 60000; }

void Undo_Files_Forget_Told() { g_told_in_memory = false; }

void Wait_Background() {
    for (int round = 0; ram.nwrit < ram.nlist; ++round) {
        if (round >= kWaitRounds) InternalError();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool Read_Undo_File(const a_hist_state& s, std::vector<uint8_t>& image, std::string* why) {
    if (!s.kept.empty()) {
        image = s.kept;
        return Check_Image(image.data(), image.size(), why);
    }
    if (!s.file_ok || s.path.empty()) {
        if (why) *why = "no undo file";
        return false;
    }
    if (File_Read_Limited(s.path, kMaxUndoFileBytes, image, why) != a_file_read::OK) return false;
    if (image.size() != size_t(s.len)) {
        if (why) *why = s.path + ": not the size written";
        return false;
    }
    return Check_Image(image.data(), image.size(), why);
}

void Delete_Undo_File(a_hist_state& s) {
    if (!s.path.empty()) (void)File_Remove(s.path);
    s.path.clear();
    s.file_ok = false;
    s.len = 0;
    s.kept = {};
}
