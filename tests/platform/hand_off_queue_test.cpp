// The lock-free hand-off queue between one producer thread and one consumer thread: order, the
// capacity bound, filling in place, and a real two-thread run in which nothing is lost or doubled.
#include "platform/hand_off_queue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace zarvo {
namespace {

TEST(HandOffQueueTest, ItemsComeOutInOrderAndTheQueueRefusesMoreThanItsCapacity) {
  HandOffQueue<int, 4> queue;
  EXPECT_TRUE(queue.Empty());
  EXPECT_EQ(queue.Front(), nullptr);
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(queue.TryPush(i));
  EXPECT_FALSE(queue.TryPush(5));  // full: the oldest stay, the new one is refused
  EXPECT_EQ(queue.BeginPush(), nullptr);
  EXPECT_EQ(queue.Size(), 4u);
  int out = 0;
  ASSERT_TRUE(queue.TryPop(out));
  EXPECT_EQ(out, 1);
  EXPECT_TRUE(queue.TryPush(5));  // the freed slot is used again, past the end of the ring
  std::vector<int> rest;
  while (queue.TryPop(out)) rest.push_back(out);
  EXPECT_EQ(rest, (std::vector<int>{2, 3, 4, 5}));
  EXPECT_FALSE(queue.TryPop(out));
}

TEST(HandOffQueueTest, ASlotFilledInPlaceIsSeenOnlyOnceCommitted) {
  HandOffQueue<int, 2> queue;
  int* slot = queue.BeginPush();
  ASSERT_NE(slot, nullptr);
  *slot = 42;
  EXPECT_EQ(queue.Front(), nullptr);  // not published yet
  EXPECT_EQ(queue.BeginPush(), slot);  // the same free slot until it is committed
  queue.CommitPush();
  ASSERT_NE(queue.Front(), nullptr);
  EXPECT_EQ(*queue.Front(), 42);
  EXPECT_EQ(*queue.Front(), 42);  // looking does not take it
  queue.Pop();
  EXPECT_TRUE(queue.Empty());
}

TEST(HandOffQueueTest, ClearDropsEverythingQueued) {
  HandOffQueue<int, 8> queue;
  for (int i = 0; i < 5; ++i) queue.TryPush(i);
  queue.Clear();
  EXPECT_TRUE(queue.Empty());
  EXPECT_TRUE(queue.TryPush(9));
  int out = 0;
  ASSERT_TRUE(queue.TryPop(out));
  EXPECT_EQ(out, 9);
}

// A producer and a consumer on two threads, the queue small enough to be full most of the time:
// every item arrives once, in order, with the contents written before it was committed.
TEST(HandOffQueueTest, TwoThreadsHandOverEveryItemOnceInOrder) {
  struct Item {
    uint32_t sequence;
    uint32_t check;
  };
  constexpr uint32_t kItems = 200000;
  HandOffQueue<Item, 16> queue;
  std::thread producer([&] {
    for (uint32_t i = 0; i < kItems;) {
      Item* slot = queue.BeginPush();
      if (slot == nullptr) {
        std::this_thread::yield();
        continue;
      }
      slot->sequence = i;
      slot->check = i * 2654435761u;
      queue.CommitPush();
      ++i;
    }
  });
  uint32_t expected = 0;
  bool inOrder = true;
  while (expected < kItems) {
    Item* item = queue.Front();
    if (item == nullptr) {
      std::this_thread::yield();
      continue;
    }
    inOrder = inOrder && item->sequence == expected && item->check == expected * 2654435761u;
    queue.Pop();
    ++expected;
  }
  producer.join();
  EXPECT_TRUE(inOrder);
  EXPECT_TRUE(queue.Empty());
}

}  // namespace
}  // namespace zarvo
