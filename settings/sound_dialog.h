// What the sound options dialog "SONS" decides, without its controls: the language radio buttons
// and the seven sound switches, each click stored at once in the dialog's copy as its keyword;
// "Ok" writes that copy to the sound settings file, closing otherwise writes nothing. The Win32
// procedure (settings/sound_dialog_win32.cpp) only moves data between the controls and this model.
#pragma once

#include "platform/message_boxes.h"
#include "records/sound_settings.h"

namespace zarvo {

struct SoundDialogModel {
  SoundSettings settings;  // the dialog's copy, as read from the file
  bool fileRead;           // the file could be read when the dialog opened
};

// The control that shows setting i (0 the language's "English" radio button, 1..7 the check
// boxes) and the keywords it stores.
struct SoundSwitch {
  int controlId;
  const char* on;   // stored when the box is checked ("English" for the language)
  const char* off;  // stored when it is not ("French")
};
const SoundSwitch& SoundSwitchOf(int setting);

// Opening: empties the copy and reads the file into it. A missing file is reported; the dialog
// then shows French and every box unchecked, and "Ok" writes nothing.
void OpenSoundDialogModel(SoundDialogModel& model, MessageBoxes& boxes);

// What the controls show: English only for exactly "SONLANGUEAnglais", a box checked only for
// exactly its "oui" keyword.
bool SoundLanguageIsEnglish(const SoundDialogModel& model);
bool SoundSwitchIsOn(const SoundDialogModel& model, int setting);

// A click on a radio button or a check box, with the state the control now has. False when the
// control is none of the dialog's switches.
bool SoundControlClicked(SoundDialogModel& model, int controlId, bool checked);

// "Ok": writes the eight settings to the sound settings file, unless it was missing when the
// dialog opened; a failure is reported and the dialog closes all the same. A setting that the file
// did not hold (a missing or short file) is written as the keyword its control showed, so that
// every word stays on its own line: an empty line would let the next word slide into the wrong
// setting when the file is read again.
void ConfirmSoundDialog(const SoundDialogModel& model, MessageBoxes& boxes);

}  // namespace zarvo
