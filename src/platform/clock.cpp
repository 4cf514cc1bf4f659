#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace {

struct a_system_clock final : a_clock {
    uint64_t Milliseconds() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    DateTimeRec Now() override {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        DateTimeRec d;
        d.year = static_cast<int16_t>(tm.tm_year + 1900);
        d.month = static_cast<int16_t>(tm.tm_mon + 1);
        d.day = static_cast<int16_t>(tm.tm_mday);
        d.hour = static_cast<int16_t>(tm.tm_hour);
        d.minute = static_cast<int16_t>(tm.tm_min);
        d.second = static_cast<int16_t>(tm.tm_sec);
        d.dayOfWeek = static_cast<int16_t>(tm.tm_wday + 1);
        return d;
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

a_system_clock g_system_clock;
a_clock* g_clock = &g_system_clock;

}  // namespace

uint32_t TickCount() { return static_cast<uint32_t>(g_clock->Milliseconds() / 16); }

DateTimeRec GetDateTime() { return g_clock->Now(); }

void Sleep_Ms(uint32_t ms) { g_clock->Sleep(ms); }

a_clock* Clock_Install(a_clock* clock) {
    a_clock* old = g_clock;
    g_clock = clock ? clock : &g_system_clock;
    return old;
}
