// Sound effects: short waves from a small synthesizer — a tone sweeping
// between two pitches with a few harmonics, mixed with band-limited noise,
// shaped by an attack, an exponential decay and a release.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "art_draw.h"
#include "art_families.h"

namespace {

constexpr int RATE = 22050;

struct a_voice {
    double freq, freq2, ms, volume, attack, release, decay;
    double noise, low_cut, high_cut;  // noise mix and its band in Hz
    double harmonics;                 // weight of the 2nd and 3rd harmonics
    double tremolo;                   // Hz, 0 for none
    uint64_t seed;
};

a_voice Voice_Of(const a_art_recipe& r, int id) {
    a_voice v;
    v.freq = r.Real("freq", 440);
    v.freq2 = r.Real("freq2", v.freq);
    v.ms = r.Real("ms", 100);
    v.volume = r.Real("volume", 0.5);
    v.attack = r.Real("attack", 3);
    v.release = r.Real("release", 15);
    v.decay = r.Real("decay", 0);
    v.noise = r.Real("noise", 0);
    v.low_cut = r.Real("low", 300);
    v.high_cut = r.Real("high", 4000);
    v.harmonics = r.Real("harmonics", 0.2);
    v.tremolo = r.Real("tremolo", 0);
    v.seed = uint64_t(id) * 104729u;
    return v;
}

double One_Pole(double cutoff) {
    return 1.0 - std::exp(-2.0 * std::numbers::pi * cutoff / RATE);
}

std::vector<int16_t> Synthesize(const a_voice& v) {
    int n = int(v.ms * RATE / 1000.0);
    std::vector<int16_t> out(size_t(std::max(n, 0)));
    a_art_rng rng(v.seed);
    double phase = 0, low = 0, band = 0;
    double a_low = One_Pole(v.high_cut), a_high = One_Pole(v.low_cut);
    double tone_mix = 1.0 - v.noise;
    for (int i = 0; i < n; ++i) {
        double t = double(i) / RATE, u = double(i) / n;
        double f = v.freq * std::pow(v.freq2 / v.freq, u);
        phase += 2 * std::numbers::pi * f / RATE;
        double tone = std::sin(phase) + v.harmonics * (0.6 * std::sin(2 * phase) +
                                                       0.4 * std::sin(3 * phase));
        tone /= 1.0 + v.harmonics;
        // Band-pass noise: a low-pass minus a slower low-pass.
        double white = rng.Unit() * 2 - 1;
        low += a_low * (white - low);
        band += a_high * (low - band);
        double noise = (low - band) * 2.5;
        double env = std::min(1.0, t * 1000.0 / std::max(v.attack, 0.1));
        env *= std::exp(-v.decay * t);
        double left_ms = (n - i) * 1000.0 / RATE;
        if (left_ms < v.release) env *= left_ms / v.release;
        if (v.tremolo > 0) env *= 0.75 + 0.25 * std::sin(2 * std::numbers::pi * v.tremolo * t);
        double s = env * v.volume * (tone_mix * tone + v.noise * noise);
        out[size_t(i)] = int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
    }
    return out;
}

}  // namespace

bool Art_Gen_Sounds(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                    std::string& error) {
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "sound") r.Fail("expected a sound line");
        int id = r.Key("id");
        a_voice v = Voice_Of(r, id);
        if (v.ms < 5 || v.ms > 3000) r.Fail("ms runs from 5 to 3000");
        if (v.freq <= 0 || v.freq2 <= 0) r.Fail("frequencies must be above 0");
        if (v.noise < 0 || v.noise > 1) r.Fail("noise runs from 0 to 1");
        if (v.volume <= 0 || v.volume > 1) r.Fail("volume runs above 0 up to 1");
        if (Art_Recipe_Problem(r, error)) return false;
        a_art_item item;
        item.key = {6, int16_t(id), 0, 0};
        item.kind = a_art_kind::SOUND;
        item.name = r.Text("name");
        item.sound.rate = RATE;
        item.sound.samples = Synthesize(v);
        items.push_back(std::move(item));
    }
    return true;
}
