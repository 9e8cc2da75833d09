// The WAV reader and the composition of the built-in voice's phrases.
#include "speech/wav_snippets.h"

#include <cstring>

#include "platform/files.h"

namespace zarvo {

namespace {

constexpr uint16_t kWaveFormatPcm = 1;

uint32_t Le32(std::string_view b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
         uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

uint16_t Le16(std::string_view b, size_t at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

bool Supported(const PcmFormat& f) {
  return (f.bitsPerSample == 8 || f.bitsPerSample == 16) && (f.channels == 1 || f.channels == 2) &&
         f.samplesPerSecond >= 8000 && f.samplesPerSecond <= 48000;
}

size_t SilenceBytes(const PcmFormat& f, uint32_t ms) {
  return size_t(f.samplesPerSecond) * ms / 1000 * PcmFrameBytes(f);
}

// Silence in the format: the middle value of unsigned 8-bit samples, zero for 16 bits.
void AppendSilence(const PcmFormat& f, uint32_t ms, std::string& samples) {
  samples.append(SilenceBytes(f, ms), f.bitsPerSample == 8 ? char(0x80) : char(0));
}

}  // namespace

WavRead ParseWav(std::string_view bytes, bool wholeData, WavInfo& info) {
  info = WavInfo{};
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
    return WavRead::kNotWave;
  }
  bool haveFormat = false;
  size_t at = 12;
  while (true) {
    if (bytes.size() - at < 8) return haveFormat ? WavRead::kTruncated : WavRead::kNotWave;
    const std::string_view id = bytes.substr(at, 4);
    const uint32_t size = Le32(bytes, at + 4);
    const size_t body = at + 8;
    if (id == "data") {
      if (!haveFormat) return WavRead::kNotWave;
      if (wholeData && size > bytes.size() - body) return WavRead::kTruncated;
      info.dataOffset = body;
      info.dataBytes = size - size % PcmFrameBytes(info.format);
      return WavRead::kRead;
    }
    if (size > bytes.size() - body) return WavRead::kTruncated;
    if (id == "fmt ") {
      if (size < 16) return WavRead::kUnsupported;
      const uint16_t tag = Le16(bytes, body);
      info.format.channels = Le16(bytes, body + 2);
      info.format.samplesPerSecond = Le32(bytes, body + 4);
      info.format.bitsPerSample = Le16(bytes, body + 14);
      const uint16_t blockAlign = Le16(bytes, body + 12);
      if (tag != kWaveFormatPcm || !Supported(info.format) ||
          blockAlign != PcmFrameBytes(info.format)) {
        return WavRead::kUnsupported;
      }
      haveFormat = true;
    }
    // Chunks are padded to an even size.
    const size_t next = body + size + (size & 1);
    if (next > bytes.size()) return haveFormat ? WavRead::kTruncated : WavRead::kNotWave;
    at = next;
  }
}

uint32_t WavDurationMs(const WavInfo& info) {
  const uint64_t perSecond = uint64_t(info.format.samplesPerSecond) * PcmFrameBytes(info.format);
  if (perSecond == 0) return 0;
  return uint32_t((uint64_t(info.dataBytes) * 1000 + perSecond - 1) / perSecond);
}

int SnippetBank::Load() {
  int read = 0;
  for (int id = 0; id < kSnippetCount; ++id) {
    files_[id].clear();
    char path[64];
    if (!SnippetFile(SnippetId(id), path, sizeof path)) continue;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxSnippetFileBytes)) continue;
    files_[id] = std::move(bytes);
    ++read;
  }
  return read;
}

void SnippetBank::Set(SnippetId id, std::string bytes) {
  if (id < 0 || id >= kSnippetCount) return;
  if (bytes.size() > kMaxSnippetFileBytes) bytes.clear();
  files_[id] = std::move(bytes);
}

std::string_view SnippetBank::File(SnippetId id) const {
  if (id < 0 || id >= kSnippetCount) return {};
  return files_[id];
}

bool SnippetBank::Loaded() const {
  for (const std::string& f : files_) {
    if (!f.empty()) return true;
  }
  return false;
}

ComposeResult ComposeSnippets(const SnippetBank& bank, const SnippetSequence& sequence,
                              PcmSound& out) {
  out = PcmSound{};
  ComposeResult result = {0, 0};
  // Room for every file whole and every pause at the highest rate: one allocation.
  size_t room = 0;
  for (int i = 0; i < sequence.count && i < kMaxPhraseSnippets; ++i) {
    room += sequence.items[i] == kSnippetPause
                ? SilenceBytes(PcmFormat{48000, 2, 16}, kSnippetPauseMs)
                : bank.File(sequence.items[i]).size();
  }
  out.samples.reserve(room < kMaxComposedBytes ? room : kMaxComposedBytes);
  bool pausePending = false;
  for (int i = 0; i < sequence.count && i < kMaxPhraseSnippets; ++i) {
    const SnippetId id = sequence.items[i];
    if (id == kSnippetPause) {
      pausePending = result.taken > 0;
      continue;
    }
    WavInfo info;
    const std::string_view file = bank.File(id);
    if (ParseWav(file, true, info) != WavRead::kRead ||
        (result.taken > 0 && !SamePcmFormat(info.format, out.format))) {
      ++result.skipped;
      continue;
    }
    if (result.taken == 0) out.format = info.format;
    const size_t pauseBytes = pausePending ? SilenceBytes(out.format, kSnippetPauseMs) : 0;
    if (out.samples.size() + pauseBytes + info.dataBytes > kMaxComposedBytes) {
      ++result.skipped;
      break;
    }
    if (pausePending) AppendSilence(out.format, kSnippetPauseMs, out.samples);
    pausePending = false;
    out.samples.append(file.data() + info.dataOffset, info.dataBytes);
    ++result.taken;
  }
  return result;
}

}  // namespace zarvo
