// A fixed-capacity queue that hands items from one producer thread to one consumer thread without
// a lock: neither side can ever wait for the other, so a consumer that stalls (a busy window)
// never holds up the producer (a serial reader), and nothing is allocated after construction.
// The producer fills a slot in place (BeginPush / CommitPush) or copies one in (TryPush); the
// consumer looks at the oldest item (Front), then releases it (Pop). Items come out in order.
#pragma once

#include <atomic>
#include <cstddef>

namespace zarvo {

template <typename T, size_t Capacity>
class HandOffQueue {
  static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0,
                "the capacity is a power of two");

 public:
  HandOffQueue() = default;
  HandOffQueue(const HandOffQueue&) = delete;
  HandOffQueue& operator=(const HandOffQueue&) = delete;

  static constexpr size_t capacity() { return Capacity; }

  // Producer: the free slot to fill, or nullptr while the queue is full. The slot is not seen by
  // the consumer until CommitPush.
  T* BeginPush() {
    const size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) == Capacity) return nullptr;
    return &slots_[tail & (Capacity - 1)];
  }
  // Producer: publishes the slot BeginPush returned.
  void CommitPush() { tail_.store(tail_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }
  // Producer: a copy of item queued; false (nothing queued) while the queue is full.
  bool TryPush(const T& item) {
    T* slot = BeginPush();
    if (slot == nullptr) return false;
    *slot = item;
    CommitPush();
    return true;
  }

  // Consumer: the oldest item, or nullptr when the queue is empty. It stays in place until Pop.
  T* Front() {
    const size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return nullptr;
    return &slots_[head & (Capacity - 1)];
  }
  // Consumer: releases the item Front returned; its slot may be filled again.
  void Pop() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }
  // Consumer: the oldest item copied out and released; false when the queue is empty.
  bool TryPop(T& out) {
    T* item = Front();
    if (item == nullptr) return false;
    out = *item;
    Pop();
    return true;
  }

  // Either side: the number of items queued (a moment's view when the other side is running).
  size_t Size() const {
    return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
  }
  bool Empty() const { return Size() == 0; }

  // Only while no producer runs: every queued item is dropped.
  void Clear() { head_.store(tail_.load(std::memory_order_acquire), std::memory_order_release); }

 private:
  T slots_[Capacity];
  // Counts of items ever pushed and popped; their difference is the size. Kept apart so that the
  // two threads do not share a cache line.
  alignas(64) std::atomic<size_t> head_{0};
  alignas(64) std::atomic<size_t> tail_{0};
};

}  // namespace zarvo
