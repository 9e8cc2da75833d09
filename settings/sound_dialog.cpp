// The sound options dialog's rules (see sound_dialog.h).
#include "settings/sound_dialog.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

const SoundSwitch kSwitches[kSoundSettingCount] = {
    {IDC_SOUND_ENGLISH, kSoundEnglish, kSoundFrench},
    {IDC_SOUND_COUNTDOWN, kSoundCountdownOn, kSoundCountdownOff},
    {IDC_SOUND_START, kSoundStartOn, kSoundStartOff},
    {IDC_SOUND_PASSAGE, kSoundPassageOn, kSoundPassageOff},
    {IDC_SOUND_BEST_LAP, kSoundBestLapOn, kSoundBestLapOff},
    {IDC_SOUND_CLOCK, kSoundClockOn, kSoundClockOff},
    {IDC_SOUND_END_OF_RACE, kSoundEndOfRaceOn, kSoundEndOfRaceOff},
    {IDC_SOUND_DRIVER_FINISHED, kSoundDriverFinishedOn, kSoundDriverFinishedOff},
};

void Store(SoundSettings& settings, int setting, const char* keyword) {
  SetText(SoundSetting(settings, setting), SoundSettingCapacity(setting), keyword,
          std::strlen(keyword));
}

bool Equals(const SoundSettings& settings, int setting, const char* keyword) {
  return std::strncmp(SoundSetting(settings, setting), keyword, SoundSettingCapacity(setting)) == 0;
}

}  // namespace

const SoundSwitch& SoundSwitchOf(int setting) {
  return kSwitches[setting];
}

void OpenSoundDialogModel(SoundDialogModel& model, MessageBoxes& boxes) {
  ClearSoundSettings(model.settings);
  model.fileRead = ReadSoundSettings(kSoundSettingsFile, model.settings);
  if (!model.fileRead) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG, MessageIcon::kError);
  }
}

bool SoundLanguageIsEnglish(const SoundDialogModel& model) {
  return Equals(model.settings, 0, kSoundEnglish);
}

bool SoundSwitchIsOn(const SoundDialogModel& model, int setting) {
  return Equals(model.settings, setting, kSwitches[setting].on);
}

bool SoundControlClicked(SoundDialogModel& model, int controlId, bool checked) {
  if (controlId == IDC_SOUND_FRENCH) {
    // The French radio button stores French when it becomes checked; a radio button is never
    // unchecked by a click of its own.
    if (checked) Store(model.settings, 0, kSoundFrench);
    return true;
  }
  for (int i = 0; i < kSoundSettingCount; ++i) {
    if (kSwitches[i].controlId != controlId) continue;
    if (i == 0 && !checked) return true;
    Store(model.settings, i, checked ? kSwitches[i].on : kSwitches[i].off);
    return true;
  }
  return false;
}

void ConfirmSoundDialog(const SoundDialogModel& model, MessageBoxes& boxes) {
  if (!model.fileRead) return;
  SoundSettings written = model.settings;
  for (int i = 0; i < kSoundSettingCount; ++i) {
    if (SoundSetting(written, i)[0] == '\0') Store(written, i, kSwitches[i].off);
  }
  if (!WriteSoundSettings(kSoundSettingsFile, written)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG, MessageIcon::kError);
  }
}

}  // namespace zarvo
