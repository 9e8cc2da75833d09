// The clocks on POSIX systems: CLOCK_MONOTONIC stands for both the tick count and the counter.
#include <time.h>

#include "platform/clock.h"

namespace zarvo {

namespace {

class PosixClock final : public Clock {
 public:
  uint32_t TickCount() override { return static_cast<uint32_t>(Nanoseconds() / 1000000); }
  int64_t PerformanceCounter() override { return Nanoseconds() / 100; }
  int64_t PerformanceFrequency() override { return 10000000; }
  LocalDateTime LocalTime() override {
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
  }
  void Sleep(uint32_t ms) override {
    struct timespec ts = {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    nanosleep(&ts, nullptr);
  }

 private:
  static int64_t Nanoseconds() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
  }
};

}  // namespace

Clock& SystemClock() {
  static PosixClock clock;
  return clock;
}

}  // namespace zarvo
