// What the lap callouts dialog "ANNONCESTOURS" decides, without its controls: three check boxes
// (callouts on, only the best laps, the position), the two refinements usable only while the
// callouts are on. Each click is stored at once in the dialog's copy; "Ok" writes that copy to
// the callouts' own settings file (the sound settings file is never touched), closing otherwise
// writes nothing. The Win32 procedure only moves data between the controls and this model.
#pragma once

#include "platform/message_boxes.h"
#include "speech/callout_settings.h"

namespace zarvo {

struct CalloutDialogModel {
  CalloutSettings settings;  // the dialog's copy
};

// The check boxes, in the order of the dialog.
constexpr int kCalloutSwitchCount = 3;
int CalloutSwitchId(int index);

// Opening: reads the settings file into the copy. A missing file shows every box unchecked (the
// defaults); a damaged one does too, and is reported.
void OpenCalloutDialogModel(CalloutDialogModel& model, MessageBoxes& boxes);

// What a check box shows; false for a control that is none of them.
bool CalloutSwitchIsOn(const CalloutDialogModel& model, int controlId);
// Whether a check box can be used: "only the best laps" and "the position" only while the
// callouts are on.
bool CalloutSwitchEnabled(const CalloutDialogModel& model, int controlId);

// A click on a check box, with the state it now has. False when the control is none of them.
bool CalloutControlClicked(CalloutDialogModel& model, int controlId, bool checked);

// "Ok": writes the three settings to the file; a failure is reported and the dialog closes all
// the same.
void ConfirmCalloutDialog(const CalloutDialogModel& model, MessageBoxes& boxes);

}  // namespace zarvo
