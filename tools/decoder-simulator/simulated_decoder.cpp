// The simulated lap-counting box: request handling, the Orix clock and the cars' passages.
#include "tools/decoder-simulator/simulated_decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace zarvo::simulator {

namespace {

constexpr FrameKind kRequestKinds[] = {{kOrixIdentify, kOrixRequestLength},
                                       {kOrixStart, kOrixRequestLength},
                                       {kOrixKeepAlive, kOrixRequestLength}};

std::string ClockText(int32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d.%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

bool ParseNumber(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

}  // namespace

std::string Hex(const uint8_t* bytes, int count) {
  std::string out;
  char two[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(two, sizeof two, i == 0 ? "%02X" : " %02X", bytes[i]);
    out += two;
  }
  return out;
}

SimulatedDecoder::SimulatedDecoder(const Settings& settings, int64_t nowMs, int32_t timeOfDayMs)
    : settings_(settings),
      random_(settings.seed),
      requests_(kRequestKinds, 3),
      clockZeroMs_(nowMs - timeOfDayMs),
      refusalsLeft_(settings.startRefusals) {
  std::stable_sort(
      settings_.script.begin(), settings_.script.end(),
      [](const ScriptedPassage& a, const ScriptedPassage& b) { return a.timeMs < b.timeMs; });
  if (!IsOrix() || !settings_.waitForStart) StartSchedule(nowMs);
}

void SimulatedDecoder::Log(const std::string& line, const uint8_t* bytes, int count) {
  log_.push_back(bytes == nullptr ? line : line + ": " + Hex(bytes, count));
}

std::vector<std::string> SimulatedDecoder::TakeLog() {
  std::vector<std::string> out;
  out.swap(log_);
  return out;
}

int SimulatedDecoder::LapTime() {
  if (settings_.lapMinMs >= settings_.lapMaxMs) return settings_.lapMinMs;
  return std::uniform_int_distribution<int>(settings_.lapMinMs, settings_.lapMaxMs)(random_);
}

void SimulatedDecoder::StartSchedule(int64_t nowMs) {
  running_ = true;
  originMs_ = nowMs;
  scriptNext_ = 0;
  cars_.clear();
  for (size_t i = 0; i < settings_.transponders.size(); ++i) {
    cars_.push_back(
        {settings_.transponders[i], LapTime() + static_cast<int64_t>(i) * settings_.staggerMs, 0});
  }
}

void SimulatedDecoder::Receive(const uint8_t* bytes, int count, int64_t nowMs, Bytes& out) {
  if (count <= 0) return;
  if (!IsOrix()) {
    // The Vexa interface accepts no request: whatever arrives goes unanswered.
    Log("received (ignored by the Vexa interface)", bytes, count);
    return;
  }
  for (int i = 0; i < count; ++i) {
    if (requests_.Push(bytes[i])) HandleRequest(requests_.Frame(), nowMs, out);
  }
}

void SimulatedDecoder::HandleRequest(const uint8_t* frame, int64_t nowMs, Bytes& out) {
  uint8_t answer[kOrixAnswerLength];
  switch (frame[3]) {
    case kOrixIdentify: {
      Log("received identify", frame, kOrixRequestLength);
      const bool wired = settings_.device == Device::kOrixWired;
      EncodeIdentifyAnswer(wired ? kOrixKindWired : kOrixKindBluetooth, settings_.decoderId,
                           answer);
      char note[64];
      std::snprintf(note, sizeof note, "sent identify answer (%s, id %06d)",
                    wired ? "wired" : "Bluetooth", settings_.decoderId & 0xFFFF);
      Log(note, answer, kOrixAnswerLength);
      break;
    }
    case kOrixStart:
      Log("received start", frame, kOrixRequestLength);
      if (refusalsLeft_ > 0) {
        --refusalsLeft_;
        EncodeStartAnswer(0, 0, 1, answer);
        Log("sent start refusal", answer, kOrixAnswerLength);
      } else {
        EncodeStartAnswer(0, 0, 0, answer);
        clockZeroMs_ = nowMs;
        ++startsAccepted_;
        if (settings_.waitForStart) StartSchedule(nowMs);
        Log("sent start answer, decoder clock zeroed", answer, kOrixAnswerLength);
      }
      break;
    case kOrixKeepAlive:
      Log("received keep-alive", frame, kOrixRequestLength);
      return;
    default:
      return;
  }
  out.insert(out.end(), answer, answer + kOrixAnswerLength);
}

std::vector<int> SimulatedDecoder::TakeSentTransponders() {
  std::vector<int> out;
  out.swap(sentTransponders_);
  return out;
}

void SimulatedDecoder::SendPassage(int transponder, int64_t atMs, Bytes& out) {
  ++passagesSent_;
  sentTransponders_.push_back(transponder & 0xFFFF);
  char note[80];
  if (IsOrix()) {
    const int32_t stamp = DecoderClock(atMs);
    uint8_t frame[kOrixPassageLength];
    EncodePassage(transponder, stamp, frame);
    std::snprintf(note, sizeof note, "sent passage %06d at %s", transponder & 0xFFFF,
                  ClockText(stamp).c_str());
    Log(note, frame, kOrixPassageLength);
    out.insert(out.end(), frame, frame + kOrixPassageLength);
  } else {
    uint8_t frame[kVexaPassageLength];
    EncodeVexaPassage(transponder, frame);
    std::snprintf(note, sizeof note, "sent passage %06d", transponder & 0xFFFF);
    Log(note, frame, kVexaPassageLength);
    out.insert(out.end(), frame, frame + kVexaPassageLength);
  }
}

void SimulatedDecoder::Advance(int64_t nowMs, Bytes& out) {
  if (!running_) return;
  for (;;) {
    // The earliest due passage among the script and the cars.
    int64_t best = INT64_MAX;
    Car* car = nullptr;
    bool fromScript = false;
    if (scriptNext_ < settings_.script.size()) {
      best = settings_.script[scriptNext_].timeMs;
      fromScript = true;
    }
    for (Car& c : cars_) {
      if (settings_.lapsPerCar > 0 && c.laps >= settings_.lapsPerCar) continue;
      if (c.nextOffsetMs < best) {
        best = c.nextOffsetMs;
        car = &c;
        fromScript = false;
      }
    }
    if (best == INT64_MAX || originMs_ + best > nowMs) return;
    if (fromScript) {
      SendPassage(settings_.script[scriptNext_].transponder, originMs_ + best, out);
      ++scriptNext_;
    } else {
      SendPassage(car->transponder, originMs_ + best, out);
      ++car->laps;
      car->nextOffsetMs += LapTime();
    }
  }
}

bool SimulatedDecoder::Done() const {
  if (!running_ || scriptNext_ < settings_.script.size()) return false;
  for (const Car& c : cars_) {
    if (settings_.lapsPerCar == 0 || c.laps < settings_.lapsPerCar) return false;
  }
  return true;
}

bool ParseTransponders(const std::string& text, std::vector<int>& out) {
  std::vector<int> numbers;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    const size_t dash = item.find('-');
    long first = 0;
    long last = 0;
    if (dash == std::string::npos) {
      if (!ParseNumber(item, 0, 65535, first)) return false;
      last = first;
    } else if (!ParseNumber(item.substr(0, dash), 0, 65535, first) ||
               !ParseNumber(item.substr(dash + 1), 0, 65535, last) || last < first ||
               last - first >= 1000) {
      return false;
    }
    for (long n = first; n <= last; ++n) numbers.push_back(static_cast<int>(n));
  }
  if (numbers.empty()) return false;
  out = numbers;
  return true;
}

bool ParseLapTimes(const std::string& text, int& minMs, int& maxMs) {
  const size_t dash = text.find('-');
  long low = 0;
  long high = 0;
  if (dash == std::string::npos) {
    if (!ParseNumber(text, 1, 86400000, low)) return false;
    high = low;
  } else if (!ParseNumber(text.substr(0, dash), 1, 86400000, low) ||
             !ParseNumber(text.substr(dash + 1), 1, 86400000, high) || high < low) {
    return false;
  }
  minMs = static_cast<int>(low);
  maxMs = static_cast<int>(high);
  return true;
}

bool ParseScript(const std::string& text, std::vector<ScriptedPassage>& out, int& errorLine) {
  std::vector<ScriptedPassage> passages;
  std::stringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::stringstream fields(line);
    std::string time;
    std::string transponder;
    std::string extra;
    if (!(fields >> time)) continue;  // blank line
    long ms = 0;
    long id = 0;
    if (!(fields >> transponder) || (fields >> extra) ||
        !ParseNumber(time, 0, 255L * 3600000 - 1, ms) || !ParseNumber(transponder, 0, 65535, id)) {
      errorLine = number;
      return false;
    }
    passages.push_back({static_cast<int32_t>(ms), static_cast<int>(id)});
  }
  std::stable_sort(
      passages.begin(), passages.end(),
      [](const ScriptedPassage& a, const ScriptedPassage& b) { return a.timeMs < b.timeMs; });
  out = passages;
  return true;
}

}  // namespace zarvo::simulator
