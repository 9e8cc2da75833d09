// The live results server's listening socket on POSIX systems.
#include "platform/listen_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/live_server.h"

namespace zarvo {

void SetListenSocketOptions(uintptr_t socket) {
  // SO_REUSEADDR lets a stopped server's port, left in TIME_WAIT, be listened on again. Not
  // SO_REUSEPORT: with it a second program could listen on the same port beside this one.
  const int yes = 1;
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

LiveServerStart ProbeListenPort(const char* address, int port) {
  LiveServerStart r{LiveServerResult::kFailed, port, 0};
  sockaddr_in where;
  std::memset(&where, 0, sizeof where);
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  if (port < 0 || port > 65535 || inet_pton(AF_INET, address, &where.sin_addr) != 1) {
    r.systemError = EINVAL;
    return r;
  }
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) {
    r.systemError = errno;
    return r;
  }
  SetListenSocketOptions(static_cast<uintptr_t>(s));
  if (bind(s, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0 && listen(s, 1) == 0) {
    r.result = LiveServerResult::kStarted;
  } else {
    r.systemError = errno;
    r.result = errno == EADDRINUSE ? LiveServerResult::kPortTaken
               : errno == EACCES   ? LiveServerResult::kPortForbidden
                                   : LiveServerResult::kFailed;
  }
  close(s);
  return r;
}

}  // namespace zarvo
