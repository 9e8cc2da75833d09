// What the live results dialog "RESULTATSDIRECT" decides, without its controls: the on/off box and
// the port edit change the dialog's copy of the settings; the addresses phones should open are
// shown as text and the first one as a QR code; the status line says what the server does now.
// "Ok" checks the port, writes the settings file and has the program apply them; closing
// otherwise writes nothing. The Win32 procedure (web/live_dialog_win32.cpp) only moves data
// between the controls and this model.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_boxes.h"
#include "web/live_settings.h"

namespace zarvo {

struct DrawList;  // analysis/drawing.h

enum class LiveStatus { kStopped, kRunning, kPortTaken, kPortForbidden, kFailed };

// What the server does, or why it does not run while its settings say on.
struct LiveServerState {
  LiveStatus status = LiveStatus::kStopped;
  int port = 0;         // the port listened on, or the one that could not be
  int systemError = 0;  // kFailed: the system's error number
};

// The running program's live results, as the dialog reaches them.
class LiveResultsControl {
 public:
  virtual ~LiveResultsControl() = default;
  virtual LiveServerState State() const = 0;
  // The settings confirmed: the server started, moved to another port or stopped. Returns what
  // it does then.
  virtual LiveServerState Apply(const LiveSettings& settings) = 0;
};

struct LiveDialogModel {
  LiveResultsControl* control = nullptr;  // given by the caller
  std::vector<uint32_t> addresses;        // the computer's, listable ones (network_addresses.h)
  LiveSettings settings;                  // the dialog's copy, as read from the file
  std::string portText;                   // what the port edit holds
  LiveServerState state;                  // shown in the status line
};

// Opening: reads the file into the copy (a damaged one is reported once and gives the defaults;
// a missing one gives them silently) and asks the program what the server does.
void OpenLiveDialogModel(LiveDialogModel& model, MessageBoxes& boxes);

// The on/off box, with the state it now has.
void LiveSwitchClicked(LiveDialogModel& model, bool checked);
// The port edit's text changed (the edit takes kLivePortMaxDigits digits at most).
void LivePortTyped(LiveDialogModel& model, const std::string& text);

// The port the addresses show: the one typed when it is valid, else the copy's.
int ShownLivePort(const LiveDialogModel& model);
// "http://<address>:<port>/" for each address; empty when the computer has none.
std::vector<std::string> LiveAddressTexts(const LiveDialogModel& model);
// The addresses, one a line (CR LF between), or the text saying there is none.
std::string LiveAddressesText(const LiveDialogModel& model);
// The status line of model.state.
std::string LiveStatusText(const LiveServerState& state);

// The QR code of the first address, centred in the rectangle, as big as fits it (white quiet
// zone included). False, with nothing drawn, when there is no address or the code does not fit.
bool DrawLiveAddressCode(const LiveDialogModel& model, int left, int top, int right, int bottom,
                         DrawList& list);

enum class LiveConfirm {
  kClose,     // the settings are written and applied as asked
  kStayOpen,  // the port is not valid (reported), or the server could not start: the status
              // line says why, so the user can choose another port
};

// "Ok": a port that is no number from 1 to 65535 is reported and nothing is written. Otherwise
// the settings file is replaced (a failure is reported), the program applies the settings and
// model.state becomes what the server then does.
LiveConfirm ConfirmLiveDialog(LiveDialogModel& model, MessageBoxes& boxes);

}  // namespace zarvo
