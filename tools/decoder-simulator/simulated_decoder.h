// The device side of the serial line, without any I/O: a Vexa interface or a wired or Bluetooth
// Orix decoder that answers the program's requests and sends the passages of simulated cars.
// The decoder simulator program drives it with the real clock and a serial line; the tests drive
// it with made-up times.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "decoder/frames.h"

namespace zarvo::simulator {

using Bytes = std::vector<uint8_t>;

enum class Device { kVexa, kOrixWired, kOrixBluetooth };

// One passage of a script: the transponder crosses the loop at timeMs after the run's start
// (the decoder clock's zero for the Orix decoder, the opening of the line for the Vexa).
struct ScriptedPassage {
  int32_t timeMs;
  int transponder;
};

struct Settings {
  Device device = Device::kOrixWired;
  int decoderId = 1234;
  int startRefusals = 0;          // start requests answered "not started" before one is accepted
  std::vector<int> transponders;  // cars going round
  int lapMinMs = 20000;           // lap times: fixed when min == max, else random within
  int lapMaxMs = 20000;
  int staggerMs = 0;   // car i crosses first at one lap + i * stagger
  int lapsPerCar = 0;  // 0: no limit
  uint32_t seed = 1;
  std::vector<ScriptedPassage> script;  // passages beside the cars'
  bool waitForStart = true;  // Orix: the cars set off when a start is accepted, else at once
};

class SimulatedDecoder {
 public:
  // nowMs: the simulator's clock; timeOfDayMs: what the Orix clock shows before any start.
  SimulatedDecoder(const Settings& settings, int64_t nowMs, int32_t timeOfDayMs);

  // Bytes from the program; the answers are appended to out.
  void Receive(const uint8_t* bytes, int count, int64_t nowMs, Bytes& out);
  // The passages due by nowMs, in time order, appended to out.
  void Advance(int64_t nowMs, Bytes& out);

  // The Orix clock in ms (0 at the last accepted start).
  int32_t DecoderClock(int64_t nowMs) const { return static_cast<int32_t>(nowMs - clockZeroMs_); }
  bool CarsRunning() const { return running_; }
  // Every passage of the script sent and every car at its lap limit (never with no limit).
  bool Done() const;
  int PassagesSent() const { return passagesSent_; }
  int StartsAccepted() const { return startsAccepted_; }

  // What happened since the last call, one line each, for --verbose.
  std::vector<std::string> TakeLog();
  // The transponders of the passages appended to the output since the last call, in order.
  std::vector<int> TakeSentTransponders();

 private:
  struct Car {
    int transponder;
    int64_t nextOffsetMs;  // from the schedule origin
    int laps;
  };

  bool IsOrix() const { return settings_.device != Device::kVexa; }
  void HandleRequest(const uint8_t* frame, int64_t nowMs, Bytes& out);
  void StartSchedule(int64_t nowMs);
  int LapTime();
  void SendPassage(int transponder, int64_t atMs, Bytes& out);
  void Log(const std::string& line, const uint8_t* bytes = nullptr, int count = 0);

  Settings settings_;
  std::mt19937 random_;
  FrameCollector requests_;
  int64_t clockZeroMs_;
  bool running_ = false;
  int64_t originMs_ = 0;
  std::vector<Car> cars_;
  size_t scriptNext_ = 0;
  int refusalsLeft_;
  int passagesSent_ = 0;
  int startsAccepted_ = 0;
  std::vector<std::string> log_;
  std::vector<int> sentTransponders_;
};

// "1001,1002,2000-2005" -> the numbers; false on a malformed list or a number above 65535.
bool ParseTransponders(const std::string& text, std::vector<int>& out);
// "20000" or "18000-23000" (ms); false when malformed or min > max or min < 1.
bool ParseLapTimes(const std::string& text, int& minMs, int& maxMs);
// Lines "<ms> <transponder>", '#' comments and blank lines ignored; sorted by time. On a bad
// line returns false and sets errorLine (1-based).
bool ParseScript(const std::string& text, std::vector<ScriptedPassage>& out, int& errorLine);

// "FF FF FF 01 02"
std::string Hex(const uint8_t* bytes, int count);

}  // namespace zarvo::simulator
