// The IPv4 addresses of this computer that the phones of the club network can open: every
// address of an interface that is up, but the loopback, unassigned and self-assigned ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvo {

// At most this many addresses are listed (a club PC has one or two).
constexpr size_t kMaxListedAddresses = 8;

// An address, in host byte order, that another machine may reach: not 0.0.0.0/8, not loopback
// (127/8), not self-assigned (169.254/16), not multicast or reserved (224 and above).
bool IsReachableIpv4(uint32_t address);

// The dotted text of an address in host byte order.
std::string Ipv4Text(uint32_t address);

// Keeps the reachable addresses, drops repeats, puts the private ranges (10/8, 172.16/12,
// 192.168/16) first, each group in the order given, and keeps at most kMaxListedAddresses.
std::vector<uint32_t> ListableAddresses(const std::vector<uint32_t>& found);

// The addresses of the interfaces that are up, in the order of ListableAddresses. Implemented
// per system (getifaddrs, GetAdaptersAddresses); empty when the system cannot tell.
std::vector<uint32_t> LocalIpv4Addresses();

}  // namespace zarvo
