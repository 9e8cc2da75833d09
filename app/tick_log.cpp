// The tick log of a measurement run (see tick_log.h).
#include "app/tick_log.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace zarvo {

TickLog::TickLog(Clock& clock, WriterFile& file, const std::string& path)
    : clock_(clock),
      writer_(file, kTickLogQueueBytes, 0),
      frequency_(clock.PerformanceFrequency()),
      logStart_(clock.PerformanceCounter()) {
  writer_.Open(path);
  std::string header = "# tick\tat_ms\tgap_us\ttotal_us\t";
  for (int i = 0; i < kTickPartCount; ++i) {
    header += PartName(static_cast<TickPart>(i));
    header += "_us\t";
  }
  header += "\r\n";
  writer_.Write(header, false);
}

TickLog::TickLog(Clock& clock, const std::string& path) : TickLog(clock, ownFile_, path) {}

const char* TickLog::PartName(TickPart part) {
  switch (part) {
    case TickPart::kSupervise:
      return "supervise";
    case TickPart::kCountdown:
      return "countdown";
    case TickPart::kStart:
      return "start";
    case TickPart::kClock:
      return "clock";
    case TickPart::kPassages:
      return "passages";
    case TickPart::kSound:
      return "sound";
    case TickPart::kStop:
      return "stop";
    case TickPart::kScan:
      return "scan";
    case TickPart::kDiscard:
      return "discard";
    case TickPart::kJournal:
      return "journal";
  }
  return "?";
}

int64_t TickLog::Microseconds(int64_t fromCounter, int64_t toCounter) const {
  if (frequency_ <= 0) return 0;
  return (toCounter - fromCounter) * 1000000 / frequency_;
}

void TickLog::TickBegins() {
  previousTickStart_ = tickStart_;
  tickStart_ = partStart_ = clock_.PerformanceCounter();
  for (int64_t& t : parts_) t = 0;
}

void TickLog::PartDone(TickPart part) {
  const int64_t now = clock_.PerformanceCounter();
  const int index = static_cast<int>(part);
  if (index >= 0 && index < kTickPartCount) parts_[index] += now - partStart_;
  partStart_ = now;
}

void TickLog::TickEnds() {
  const int64_t end = clock_.PerformanceCounter();
  ++ticks_;
  char line[512];
  int n = 0;
  if (leftOut_ > 0) {
    n = std::snprintf(line, sizeof line, "# %" PRIu64 " ticks not logged\r\n", leftOut_);
  }
  const int64_t gap = ticks_ == 1 ? 0 : Microseconds(previousTickStart_, tickStart_);
  n += std::snprintf(
      line + n, sizeof line - size_t(n), "%" PRIu64 "\t%" PRId64 "\t%" PRId64 "\t%" PRId64 "\t",
      ticks_, Microseconds(logStart_, tickStart_) / 1000, gap, Microseconds(tickStart_, end));
  for (const int64_t part : parts_) {
    n += std::snprintf(line + n, sizeof line - size_t(n), "%" PRId64 "\t", Microseconds(0, part));
  }
  n += std::snprintf(line + n, sizeof line - size_t(n), "\r\n");
  if (writer_.Write(std::string_view(line, size_t(n)), false)) {
    ++logged_;
    leftOut_ = 0;
  } else {
    ++leftOut_;
    ++leftOutTotal_;
  }
}

std::unique_ptr<TickLog> TickLogFromEnvironment(Clock& clock) {
  const char* path = std::getenv(kTickLogVariable);
  if (path == nullptr || path[0] == '\0') return nullptr;
  return std::make_unique<TickLog>(clock, path);
}

}  // namespace zarvo
