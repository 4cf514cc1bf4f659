#include "platform/sound.h"

namespace {

a_sound_player* g_player = nullptr;
bool g_enabled = true;
std::vector<int> g_log;

}  // namespace

void Sound_Play(int snd) {
    if (!g_enabled) return;
    // Bounded so that a long session never grows it without end.
    if (g_log.size() >= 4096) g_log.erase(g_log.begin(), g_log.begin() + 2048);
    g_log.push_back(snd);
    if (g_player) g_player->Play(snd);
}

bool Sound_IsPlaying() { return g_enabled && g_player && g_player->IsPlaying(); }

void Sound_Enable(bool on) { g_enabled = on; }

bool Sound_IsEnabled() { return g_enabled; }

a_sound_player* Sound_Install(a_sound_player* player) {
    a_sound_player* old = g_player;
    g_player = player;
    return old;
}

const std::vector<int>& Sound_Log() { return g_log; }

void Sound_ClearLog() { g_log.clear(); }
