// Sound effects, by number. Headless runs are silent; every effect played is
// recorded so that tests can check what the program asked to hear.
// Process-wide state: the sound player, the enabled flag and the log of sounds played (reads and
// writes).
#pragma once
#include <vector>

// The effects the program names.
enum : int {
    SND_MENU = 130,     // a menu opened
    SND_CLICK = 132,    // a slider stepped
    SND_REFUSED = 136,  // an action refused
    SND_UNDO = 137,
    SND_LIMIT = 138,  // a move stopped at the end of a list or range
    SND_STROKE_CANCELLED = 167,
    SND_REDO = 179
};

// What actually makes a sound; the GUI installs one over the audio device.
struct a_sound_player {
    virtual ~a_sound_player() = default;
    virtual void Play(int snd) = 0;
    virtual bool IsPlaying() = 0;
};

// Plays effect `snd` unless sound is disabled.
void Sound_Play(int snd);
// True while an effect is still sounding (never when silent).
bool Sound_IsPlaying();
void Sound_Enable(bool on);
bool Sound_IsEnabled();

// Installs a player (nullptr: silent); returns the old one.
a_sound_player* Sound_Install(a_sound_player* player);

// Effects played since the last clear, oldest first.
const std::vector<int>& Sound_Log();
void Sound_ClearLog();
