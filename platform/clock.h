// The clocks the program reads: the system tick count, the high-resolution performance counter
// and the local date and time. The core receives a Clock; tests give it a fake one.
#pragma once

#include <cstdint>

namespace zarvo {

struct LocalDateTime {
  int year;
  int month;  // 1..12
  int day;
  int hour;
  int minute;
  int second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the system started; wraps around after 49.7 days.
  virtual uint32_t TickCount() = 0;
  virtual int64_t PerformanceCounter() = 0;
  // Counts per second of the performance counter.
  virtual int64_t PerformanceFrequency() = 0;
  virtual LocalDateTime LocalTime() = 0;
  // Lets the time pass for about ms milliseconds (used by the few waiting loops).
  virtual void Sleep(uint32_t ms) = 0;
};

// The operating system's clocks.
Clock& SystemClock();

}  // namespace zarvo
