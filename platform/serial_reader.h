// The serial port with its reader thread, over the operating system's device (termios or the Win32
// comm API). The thread lives while the port is open: Open starts it, Close (and the destructor)
// wakes it and joins it. It waits on the line, reads what has arrived straight into a free slot of
// a hand-off queue, stamps it with the performance counter the moment the read returns and
// publishes it; it never takes a lock and never allocates.
//
// Queue full (the program's thread has not taken anything for a long time): the reader stops
// reading until a slot is free. The oldest chunks stay queued; newer bytes wait in the operating
// system's buffer and in the device, and are stamped when they are read at last. Nothing is
// dropped; the stalls are counted.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "platform/clock.h"
#include "platform/hand_off_queue.h"
#include "platform/serial_port.h"

namespace zarvo {

enum class LineWait {
  kBytes,    // count > 0 bytes read
  kNothing,  // woken, or nothing arrived within about kSerialWaitLimitMs
  kFailed,   // the device failed (gone, hung up)
};

// The longest a device waits for bytes before it returns kNothing.
constexpr int kSerialWaitLimitMs = 200;

// The operating system's side of a serial port. Open, Close and Write are called by the program's
// thread, WaitForBytes by the reader only, Wake by either, never Close during a WaitForBytes.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // Opens and configures the line and throws away its pending input.
  virtual bool Open(const char* name) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Waits until bytes arrive, the line fails, Wake is called or about kSerialWaitLimitMs pass,
  // then reads what has arrived (at most max bytes).
  virtual LineWait WaitForBytes(uint8_t* buffer, int max, int* count) = 0;
  // Makes the WaitForBytes under way, or else the next one, return kNothing at once.
  virtual void Wake() = 0;
  // Called on the reader thread when it starts (to raise its priority, for example).
  virtual void ReaderStarted() {}
  virtual bool Write(const uint8_t* bytes, int count, int* written) = 0;
};

class ReadingSerialPort final : public SerialPort {
 public:
  // The queue holds this many chunks (each up to 255 bytes).
  static constexpr size_t kQueueChunks = 256;
  // After a failure of the line the reader tries again this much later.
  static constexpr int kRetryAfterFailureMs = 50;

  ReadingSerialPort(std::unique_ptr<SerialDevice> device, Clock& clock);
  ~ReadingSerialPort() override;

  bool Open(const char* name) override;
  void Close() override;
  bool IsOpen() const override { return device_->IsOpen(); }
  bool Read(uint8_t* buffer, int max, int* count) override;
  ChunkTake TakeChunk(SerialChunk& chunk) override;
  bool Write(const uint8_t* bytes, int count, int* written) override;

  // Times the reader found the queue full and stopped reading until a slot was free.
  int64_t FullStalls() const { return fullStalls_.load(std::memory_order_relaxed); }
  // Chunks waiting to be taken.
  size_t Queued() const { return queue_.Size(); }

 private:
  void ReaderLoop();
  // Sleeps about ms unless the reader is asked to stop meanwhile.
  void PauseReader(int ms);

  std::unique_ptr<SerialDevice> device_;
  Clock& clock_;
  HandOffQueue<SerialChunk, kQueueChunks> queue_;
  int frontTaken_ = 0;  // bytes of the oldest chunk already taken by Read
  std::thread reader_;
  std::atomic<bool> stop_{false};
  // Set by the reader after a failed read, once every chunk read before it is queued; cleared by
  // the next read that works.
  std::atomic<bool> lineFailed_{false};
  std::atomic<int64_t> fullStalls_{0};
};

}  // namespace zarvo
