// Decoding, encoding and collecting the frames of the lap-counting box.
#include "decoder/frames.h"

#include <cstdio>
#include <cstring>

namespace zarvo {

int32_t DecoderTime(int hours, int minutes, int seconds, int subSecond) {
  return hours * 3600000 + minutes * 60000 + seconds * 1000 +
         ((subSecond - kSubSecondFirst) * 256) / 12000;
}

int PassageTransponder(const uint8_t* frame) {
  return frame[4] * 256 + frame[5];
}

int32_t PassageDecoderTime(const uint8_t* frame) {
  return DecoderTime(frame[6], frame[7], frame[8], frame[9] * 256 + frame[10]);
}

void FormatTransponder(int number, char (&out)[kTransponderTextCapacity]) {
  if (number < 0) number = 0;
  if (number > 999999) number = 999999;
  std::snprintf(out, sizeof out, "%06d", number);
}

int SubSecondCount(int ms) {
  if (ms < 0) ms = 0;
  if (ms > 999) ms = 999;
  // 46.875 counts a millisecond: the count ceil(ms * 375 / 8) decodes back to ms exactly.
  return kSubSecondFirst + (ms * 375 + 7) / 8;
}

void EncodeIdentifyAnswer(uint8_t kind, int decoderId, uint8_t (&out)[kOrixAnswerLength]) {
  const uint8_t frame[kOrixAnswerLength] = {kOrixSync,
                                            kOrixSync,
                                            kOrixSync,
                                            kOrixIdentify,
                                            kind,
                                            static_cast<uint8_t>((decoderId >> 8) & 0xFF),
                                            static_cast<uint8_t>(decoderId & 0xFF)};
  std::memcpy(out, frame, sizeof frame);
}

void EncodeStartAnswer(uint8_t a, uint8_t b, uint8_t c, uint8_t (&out)[kOrixAnswerLength]) {
  const uint8_t frame[kOrixAnswerLength] = {kOrixSync, kOrixSync, kOrixSync, kOrixStart, a, b, c};
  std::memcpy(out, frame, sizeof frame);
}

void EncodePassage(int transponder, int32_t decoderTime, uint8_t (&out)[kOrixPassageLength]) {
  if (decoderTime < 0) decoderTime = 0;
  const int hours = decoderTime / 3600000;
  const int minutes = decoderTime / 60000 % 60;
  const int seconds = decoderTime / 1000 % 60;
  const int count = SubSecondCount(decoderTime % 1000);
  const uint8_t frame[kOrixPassageLength] = {kOrixSync,
                                             kOrixSync,
                                             kOrixSync,
                                             kOrixPassage,
                                             static_cast<uint8_t>((transponder >> 8) & 0xFF),
                                             static_cast<uint8_t>(transponder & 0xFF),
                                             static_cast<uint8_t>(hours & 0xFF),
                                             static_cast<uint8_t>(minutes),
                                             static_cast<uint8_t>(seconds),
                                             static_cast<uint8_t>(count >> 8),
                                             static_cast<uint8_t>(count & 0xFF)};
  std::memcpy(out, frame, sizeof frame);
}

void EncodeVexaPassage(int transponder, uint8_t (&out)[kVexaPassageLength]) {
  out[0] = static_cast<uint8_t>((transponder >> 8) & 0xFF);
  out[1] = static_cast<uint8_t>(transponder & 0xFF);
}

FrameCollector::FrameCollector(FrameKind kind) : FrameCollector(&kind, 1) {}

FrameCollector::FrameCollector(const FrameKind* kinds, int kindCount) : kinds_(), kindCount_(0) {
  for (int i = 0; i < kindCount && i < 4; ++i) {
    kinds_[i] = kinds[i];
    if (kinds_[i].length < kOrixHeaderLength + 1) kinds_[i].length = kOrixHeaderLength + 1;
    if (kinds_[i].length > kLongestFrame) kinds_[i].length = kLongestFrame;
    ++kindCount_;
  }
}

int FrameCollector::LengthOf(uint8_t type) const {
  for (int i = 0; i < kindCount_; ++i) {
    if (kinds_[i].type == type) return kinds_[i].length;
  }
  return 0;
}

void FrameCollector::Clear() {
  held_ = 0;
  frameLength_ = 0;
}

bool FrameCollector::Push(uint8_t byte) {
  bytes_[held_++] = byte;
  if (frameLength_ == 0) {
    if (held_ < kOrixHeaderLength) return false;
    const int length = LengthOf(bytes_[3]);
    if (bytes_[0] != kOrixSync || bytes_[1] != kOrixSync || bytes_[2] != kOrixSync || length == 0) {
      std::memmove(bytes_, bytes_ + 1, kOrixHeaderLength - 1);
      held_ = kOrixHeaderLength - 1;
      return false;
    }
    frameLength_ = length;
  }
  if (held_ < frameLength_) return false;
  completedLength_ = frameLength_;
  held_ = 0;
  frameLength_ = 0;
  return true;
}

bool VexaCollector::Push(uint8_t byte) {
  if (held_ == 0) {
    high_ = byte;
    held_ = 1;
    return false;
  }
  transponder_ = high_ * 256 + byte;
  held_ = 0;
  return true;
}

}  // namespace zarvo
