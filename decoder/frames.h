// The bytes on the line to the lap-counting box: the requests, answers and passages of the Orix
// decoder, the 2-byte passages of the Vexa interface, the decoder time of a passage, and the
// sliding collectors that find frames in a byte stream cut anywhere by the reads.
// The encoders serve the decoder simulator and the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zarvo {

// Every Orix frame starts with three sync bytes FF FF FF and a type byte.
constexpr uint8_t kOrixSync = 0xFF;
constexpr uint8_t kOrixIdentify = 0x01;
constexpr uint8_t kOrixStart = 0x02;
constexpr uint8_t kOrixKeepAlive = 0xE0;
constexpr uint8_t kOrixPassage = 0xF0;

constexpr int kOrixRequestLength = 5;  // PC to decoder
constexpr int kOrixAnswerLength = 7;   // identify and start answers
constexpr int kOrixPassageLength = 11;
constexpr int kVexaPassageLength = 2;
constexpr int kOrixHeaderLength = 4;
constexpr int kLongestFrame = kOrixPassageLength;

constexpr uint8_t kIdentifyRequest[kOrixRequestLength] = {0xFF, 0xFF, 0xFF, 0x01, 0x02};
constexpr uint8_t kStartRequest[kOrixRequestLength] = {0xFF, 0xFF, 0xFF, 0x02, 0x00};
constexpr uint8_t kKeepAliveRequest[kOrixRequestLength] = {0xFF, 0xFF, 0xFF, 0xE0, 0x03};

// The kind byte of an identify answer.
constexpr uint8_t kOrixKindWired = 0x02;
constexpr uint8_t kOrixKindBluetooth = 0x12;

// The decoder clock's sub-second count runs from 18661 to 65535 in each second.
constexpr int32_t kSubSecondFirst = 18661;
constexpr int32_t kSubSecondLast = 65535;
constexpr int32_t kSubSecondCountsPerSecond = 46875;

constexpr int kTransponderTextCapacity = 7;  // six digits written with "%06d"

// Decoder time in ms of a passage stamped hours:minutes:seconds and sub-second count:
// H*3600000 + M*60000 + S*1000 + ((t - 18661) * 256) / 12000, in 32 bits, truncating.
int32_t DecoderTime(int hours, int minutes, int seconds, int subSecond);

// The fields of an 11-byte passage frame (header included).
int PassageTransponder(const uint8_t* frame);
int32_t PassageDecoderTime(const uint8_t* frame);

// A transponder number as the program writes it: "%06d".
void FormatTransponder(int number, char (&out)[kTransponderTextCapacity]);

// The smallest sub-second count whose decoded milliseconds are ms (0..999).
int SubSecondCount(int ms);

// Encoders of the device's side. Numbers above 65535 keep their low 16 bits; a decoder time
// (>= 0, below 256 hours) is stamped so that PassageDecoderTime gives it back exactly.
void EncodeIdentifyAnswer(uint8_t kind, int decoderId, uint8_t (&out)[kOrixAnswerLength]);
void EncodeStartAnswer(uint8_t a, uint8_t b, uint8_t c, uint8_t (&out)[kOrixAnswerLength]);
void EncodePassage(int transponder, int32_t decoderTime, uint8_t (&out)[kOrixPassageLength]);
void EncodeVexaPassage(int transponder, uint8_t (&out)[kVexaPassageLength]);

// One frame type an Orix collector accepts and its full length.
struct FrameKind {
  uint8_t type;
  uint8_t length;  // 5 to 11
};

// Sliding collector of Orix frames. Bytes are appended until four are held; if they are not
// FF FF FF followed by an accepted type, the oldest is dropped (the window slides by one).
// Once a header is held, bytes are appended up to the frame's length and the frame is complete.
// Garbage is skipped and a frame split across reads at any byte boundary is reassembled.
class FrameCollector {
 public:
  explicit FrameCollector(FrameKind kind);
  FrameCollector(const FrameKind* kinds, int kindCount);  // at most 4 kinds

  // Feeds one byte; true when it completes a frame. The frame is then Frame()[0..FrameLength())
  // and stays readable until the next Push; the collector starts empty again.
  bool Push(uint8_t byte);
  const uint8_t* Frame() const { return bytes_; }
  int FrameLength() const { return completedLength_; }
  int Held() const { return held_; }
  void Clear();

 private:
  int LengthOf(uint8_t type) const;

  FrameKind kinds_[4];
  int kindCount_;
  uint8_t bytes_[kLongestFrame];
  int held_ = 0;
  int frameLength_ = 0;  // length of the frame being collected, 0 before its header
  int completedLength_ = 0;
};

// Vexa passages: every two bytes make one transponder number, high byte first.
class VexaCollector {
 public:
  // True when the byte completes a passage; its number is then Transponder().
  bool Push(uint8_t byte);
  int Transponder() const { return transponder_; }
  int Held() const { return held_; }
  void Clear() { held_ = 0; }

 private:
  uint8_t high_ = 0;
  int held_ = 0;
  int transponder_ = 0;
};

}  // namespace zarvo
