// The computer's IPv4 addresses on POSIX systems.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include "platform/network_addresses.h"

namespace zarvo {

std::vector<uint32_t> LocalIpv4Addresses() {
  std::vector<uint32_t> found;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return found;
  for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    if ((i->ifa_flags & IFF_UP) == 0 || (i->ifa_flags & IFF_LOOPBACK) != 0) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    found.push_back(ntohl(in->sin_addr.s_addr));
  }
  freeifaddrs(list);
  return ListableAddresses(found);
}

}  // namespace zarvo
