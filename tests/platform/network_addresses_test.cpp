// Which of the computer's IPv4 addresses the live results dialog lists, and how it writes them.
#include "platform/network_addresses.h"

#include <gtest/gtest.h>

#include <vector>

namespace zarvo {
namespace {

constexpr uint32_t Ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

TEST(NetworkAddresses, LoopbackUnassignedSelfAssignedAndMulticastAreNotListed) {
  EXPECT_FALSE(IsReachableIpv4(Ip(127, 0, 0, 1)));
  EXPECT_FALSE(IsReachableIpv4(Ip(127, 1, 2, 3)));
  EXPECT_FALSE(IsReachableIpv4(Ip(0, 0, 0, 0)));
  EXPECT_FALSE(IsReachableIpv4(Ip(169, 254, 10, 1)));
  EXPECT_FALSE(IsReachableIpv4(Ip(224, 0, 0, 251)));
  EXPECT_FALSE(IsReachableIpv4(Ip(255, 255, 255, 255)));
  EXPECT_TRUE(IsReachableIpv4(Ip(192, 168, 1, 20)));
  EXPECT_TRUE(IsReachableIpv4(Ip(169, 253, 1, 1)));
  EXPECT_TRUE(IsReachableIpv4(Ip(223, 1, 1, 1)));
  EXPECT_TRUE(IsReachableIpv4(Ip(1, 0, 0, 0)));
}

TEST(NetworkAddresses, TextIsDottedDecimalInHostOrder) {
  EXPECT_EQ(Ipv4Text(Ip(192, 168, 1, 20)), "192.168.1.20");
  EXPECT_EQ(Ipv4Text(Ip(10, 0, 255, 0)), "10.0.255.0");
}

TEST(NetworkAddresses, PrivateRangesComeFirstRepeatsGoAndTheListIsBounded) {
  const std::vector<uint32_t> found = {Ip(82, 1, 2, 3),   Ip(127, 0, 0, 1), Ip(192, 168, 1, 20),
                                       Ip(172, 15, 0, 1), Ip(172, 16, 0, 1), Ip(172, 31, 9, 9),
                                       Ip(172, 32, 0, 1), Ip(10, 1, 1, 1),  Ip(192, 168, 1, 20)};
  EXPECT_EQ(ListableAddresses(found),
            (std::vector<uint32_t>{Ip(192, 168, 1, 20), Ip(172, 16, 0, 1), Ip(172, 31, 9, 9),
                                   Ip(10, 1, 1, 1), Ip(82, 1, 2, 3), Ip(172, 15, 0, 1),
                                   Ip(172, 32, 0, 1)}));
  std::vector<uint32_t> many;
  for (uint32_t i = 1; i <= 20; ++i) many.push_back(Ip(10, 0, 0, i));
  const std::vector<uint32_t> listed = ListableAddresses(many);
  ASSERT_EQ(listed.size(), kMaxListedAddresses);
  EXPECT_EQ(listed.front(), Ip(10, 0, 0, 1));
}

TEST(NetworkAddresses, TheSystemsListHoldsOnlyListableAddresses) {
  const std::vector<uint32_t> listed = LocalIpv4Addresses();
  EXPECT_LE(listed.size(), kMaxListedAddresses);
  for (uint32_t a : listed) EXPECT_TRUE(IsReachableIpv4(a)) << Ipv4Text(a);
  EXPECT_EQ(ListableAddresses(listed), listed) << "already in order, without repeats";
}

}  // namespace
}  // namespace zarvo
