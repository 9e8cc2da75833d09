// The driver details dialog "PILOTEDETAILS" on Windows, modal to owner; its scan polls the
// program's port on the dialog's own 10 ms timer.
#pragma once

#include <windows.h>

#include "decoder/driver_details_dialog.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

// True when "OK" wrote the participants list. session: where the participants are read and
// written.
bool RunDriverDetailsDialog(HWND owner, MessageBoxes& boxes, SerialPort& port, Clock& clock,
                            DetailsSession& session);

}  // namespace zarvo
