// The system's part of the live results server's listening socket (posix/, win32/).
#pragma once

#include <cstdint>

namespace zarvo {

// The options of the listening socket: the port may be listened on again at once after a stop,
// but never while another socket listens on it.
void SetListenSocketOptions(uintptr_t socket);

}  // namespace zarvo
