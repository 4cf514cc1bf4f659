// Time services: ticks of 16 ms since start, wall-clock date, and sleeping.
// Tests replace the clock with one of their own.
// Process-wide state: the installed clock (reads; Clock_Install writes).
#pragma once
#include <cstdint>

struct DateTimeRec {
    int16_t year = 0;
    int16_t month = 0;
    int16_t day = 0;
    int16_t hour = 0;
    int16_t minute = 0;
    int16_t second = 0;
    int16_t dayOfWeek = 0;  // 1 = Sunday
    bool operator==(const DateTimeRec&) const = default;
};

// A clock source. The default one reads the system clocks.
struct a_clock {
    virtual ~a_clock() = default;
    virtual uint64_t Milliseconds() = 0;  // monotonic, since an arbitrary start
    virtual DateTimeRec Now() = 0;        // local date and time
    virtual void Sleep(uint32_t ms) = 0;
};

uint32_t TickCount();  // milliseconds / 16
DateTimeRec GetDateTime();
void Sleep_Ms(uint32_t ms);

// Installs another clock (nullptr restores the system clock); returns the old one.
a_clock* Clock_Install(a_clock* clock);
