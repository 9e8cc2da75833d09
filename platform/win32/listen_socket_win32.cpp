// The live results server's listening socket on Windows.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // inet_pton
#endif
#include "platform/listen_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

#include "platform/live_server.h"

namespace zarvo {

void SetListenSocketOptions(uintptr_t socket) {
  // Without SO_EXCLUSIVEADDRUSE another program setting SO_REUSEADDR could take over the port
  // while this one listens on it. (SO_REUSEADDR is not set: on Windows it allows just that.)
  BOOL yes = TRUE;
  setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
             reinterpret_cast<const char*>(&yes), sizeof yes);
}

LiveServerStart ProbeListenPort(const char* address, int port) {
  LiveServerStart r{LiveServerResult::kFailed, port, 0};
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    r.systemError = WSASYSNOTREADY;
    return r;
  }
  sockaddr_in where;
  std::memset(&where, 0, sizeof where);
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<u_short>(port));
  if (port < 0 || port > 65535 || inet_pton(AF_INET, address, &where.sin_addr) != 1) {
    r.systemError = WSAEINVAL;
    WSACleanup();
    return r;
  }
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    r.systemError = WSAGetLastError();
    WSACleanup();
    return r;
  }
  SetListenSocketOptions(static_cast<uintptr_t>(s));
  if (bind(s, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0 && listen(s, 1) == 0) {
    r.result = LiveServerResult::kStarted;
  } else {
    const int error = WSAGetLastError();
    r.systemError = error;
    r.result = error == WSAEADDRINUSE ? LiveServerResult::kPortTaken
               : error == WSAEACCES   ? LiveServerResult::kPortForbidden
                                      : LiveServerResult::kFailed;
  }
  closesocket(s);
  WSACleanup();
  return r;
}

}  // namespace zarvo
