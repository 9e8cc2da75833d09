// The interface dialog "INTERFACE" on Windows, modal to owner, on the program's port and clock.
#pragma once

#include <windows.h>

#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

void RunInterfaceDialog(HWND owner, MessageBoxes& boxes, SerialPort& port, Clock& clock);

}  // namespace zarvo
