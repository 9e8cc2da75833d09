// What is listed of the computer's IPv4 addresses (the system's part is in posix/ and win32/).
#include "platform/network_addresses.h"

#include <algorithm>

namespace zarvo {

namespace {

bool IsPrivate(uint32_t a) {
  return (a >> 24) == 10 || (a >> 20) == ((172u << 4) | 1u) || (a >> 16) == ((192u << 8) | 168u);
}

}  // namespace

bool IsReachableIpv4(uint32_t address) {
  const uint32_t first = address >> 24;
  if (first == 0 || first == 127 || first >= 224) return false;
  return (address >> 16) != ((169u << 8) | 254u);
}

std::string Ipv4Text(uint32_t address) {
  return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
         std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::vector<uint32_t> ListableAddresses(const std::vector<uint32_t>& found) {
  std::vector<uint32_t> out;
  for (int privateFirst = 1; privateFirst >= 0; --privateFirst) {
    for (uint32_t a : found) {
      if (!IsReachableIpv4(a) || IsPrivate(a) != (privateFirst == 1)) continue;
      if (std::find(out.begin(), out.end(), a) != out.end()) continue;
      if (out.size() < kMaxListedAddresses) out.push_back(a);
    }
  }
  return out;
}

}  // namespace zarvo
