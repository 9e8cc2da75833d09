// Reading and writing the sound settings file: eight keywords, one a line.
#include "records/sound_settings.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The file holds eight short words; nothing past this is ever read.
constexpr size_t kMaxSoundFileBytes = 4096;

struct Field {
  size_t offset;
  int capacity;
};

const Field kFields[kSoundSettingCount] = {
    {offsetof(SoundSettings, language), sizeof SoundSettings::language},
    {offsetof(SoundSettings, countdown), sizeof SoundSettings::countdown},
    {offsetof(SoundSettings, start), sizeof SoundSettings::start},
    {offsetof(SoundSettings, passage), sizeof SoundSettings::passage},
    {offsetof(SoundSettings, bestLap), sizeof SoundSettings::bestLap},
    {offsetof(SoundSettings, clock), sizeof SoundSettings::clock},
    {offsetof(SoundSettings, endOfRace), sizeof SoundSettings::endOfRace},
    {offsetof(SoundSettings, driverFinished), sizeof SoundSettings::driverFinished},
};

// The blanks that separate words, as formatted input knows them. A zero byte ends nothing and
// is taken as part of a word, where it ends the stored text.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

char* SoundSetting(SoundSettings& settings, int index) {
  return reinterpret_cast<char*>(&settings) + kFields[index].offset;
}

const char* SoundSetting(const SoundSettings& settings, int index) {
  return reinterpret_cast<const char*>(&settings) + kFields[index].offset;
}

int SoundSettingCapacity(int index) {
  return kFields[index].capacity;
}

void ClearSoundSettings(SoundSettings& settings) {
  std::memset(&settings, 0, sizeof settings);
}

std::string FormatSoundSettings(const SoundSettings& settings) {
  std::string out;
  for (int i = 0; i < kSoundSettingCount; ++i) {
    const char* value = SoundSetting(settings, i);
    out.append(value, strnlen(value, SoundSettingCapacity(i)));
    out += "\r\n";
  }
  return out;
}

void ParseSoundSettings(std::string_view bytes, SoundSettings& settings) {
  size_t at = 0;
  for (int i = 0; i < kSoundSettingCount; ++i) {
    while (at < bytes.size() && IsBlank(bytes[at])) ++at;
    if (at == bytes.size()) return;
    const size_t start = at;
    while (at < bytes.size() && !IsBlank(bytes[at])) ++at;
    const size_t length = strnlen(bytes.data() + start, at - start);
    SetText(SoundSetting(settings, i), SoundSettingCapacity(i), bytes.data() + start, length);
  }
}

bool ReadSoundSettings(const char* path, SoundSettings& settings) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  char buffer[kMaxSoundFileBytes];
  const size_t n = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  ParseSoundSettings(std::string_view(buffer, n), settings);
  return true;
}

bool WriteSoundSettings(const char* path, const SoundSettings& settings) {
  return WriteFileReplacing(path, FormatSoundSettings(settings));
}

}  // namespace zarvo
