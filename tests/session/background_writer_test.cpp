// The writer thread and its bounded queue: what reaches the file and in which order, that a Write
// returns while the disk holds the writer up, a full queue refusing whole writes, the pushes to
// the disk paced by a clock of the test, failures reported by open number; and the tick log
// written through it.
#include "session/background_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "app/tick_log.h"
#include "tests/support/fakes.h"

namespace zarvo {
namespace {

// Records every call the writer thread makes; Append and Sync can be held up at a gate, and
// chosen calls made to fail.
class GatedFile : public WriterFile {
 public:
  bool Open(const char* path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.push_back(std::string("open ") + path);
    return !failOpen;
  }
  bool Append(std::string_view bytes) override {
    Pass();
    std::lock_guard<std::mutex> lock(mutex_);
    calls.push_back("append " + std::string(bytes));
    content += bytes;
    return !failAppend;
  }
  bool Sync() override {
    Pass();
    std::lock_guard<std::mutex> lock(mutex_);
    calls.push_back("sync");
    return true;
  }
  void Close() override {
    std::lock_guard<std::mutex> lock(mutex_);
    calls.push_back("close");
  }

  void Hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = true;
  }
  void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      held_ = false;
    }
    gate_.notify_all();
  }
  // Waits until the writer thread stands at the gate.
  void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(mutex_);
    gate_.wait(lock, [this] { return waiting_ > 0; });
  }
  std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls;
  }
  std::string Content() {
    std::lock_guard<std::mutex> lock(mutex_);
    return content;
  }

  std::atomic<bool> failOpen{false};
  std::atomic<bool> failAppend{false};

 private:
  void Pass() {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waiting_;
    gate_.notify_all();
    gate_.wait(lock, [this] { return !held_; });
    --waiting_;
  }
  std::mutex mutex_;
  std::condition_variable gate_;
  bool held_ = false;
  int waiting_ = 0;
  std::vector<std::string> calls;
  std::string content;
};

class TestClock : public WriterClock {
 public:
  uint64_t NowMs() override { return now.load(); }
  std::atomic<uint64_t> now{5000};
};

using Calls = std::vector<std::string>;

TEST(BackgroundWriter, WritesReachTheFileInTheirOrderOneAppendEach) {
  GatedFile file;
  TestClock clock;
  {
    BackgroundWriter writer(file, 4096, 100, clock);
    EXPECT_TRUE(writer.Open("Private/a.jrn"));
    EXPECT_TRUE(writer.Write("one\r\n", false));
    EXPECT_TRUE(writer.Write("two\r\n", true));
    EXPECT_TRUE(writer.Write("three\r\n", false));
    EXPECT_TRUE(writer.Close());
    EXPECT_TRUE(writer.Open("Private/b.jrn"));
    EXPECT_TRUE(writer.Write("four\r\n", false));
    writer.Flush();
    EXPECT_EQ(file.Calls(), (Calls{"close", "open Private/a.jrn", "append one\r\n",
                                   "append two\r\n", "sync", "append three\r\n", "sync", "close",
                                   "close", "open Private/b.jrn", "append four\r\n"}))
        << "a write that asks for it is pushed at once; closing pushes what is left";
    EXPECT_EQ(writer.OpensQueued(), 2u);
    EXPECT_EQ(writer.LastFailedOpen(), 0u);
  }
  EXPECT_EQ(file.Calls().back(), "close") << "the end pushes and closes";
  EXPECT_EQ(file.Calls()[file.Calls().size() - 2], "sync");
}

TEST(BackgroundWriter, AWriteReturnsWhileTheDiskHoldsTheWriterUp) {
  GatedFile file;
  TestClock clock;
  BackgroundWriter writer(file, 4096, 100, clock);
  writer.Open("j");
  file.Hold();
  writer.Write("first\r\n", true);
  file.WaitUntilHeld();  // the writer thread waits for the disk from here on
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(writer.Write("passage " + std::to_string(i) + "\r\n", false));
  }
  EXPECT_EQ(file.Content(), "") << "nothing written yet, and the caller went on all the same";
  file.Release();
  writer.Flush();
  std::string expected = "first\r\n";
  for (int i = 0; i < 20; ++i) expected += "passage " + std::to_string(i) + "\r\n";
  EXPECT_EQ(file.Content(), expected);
}

TEST(BackgroundWriter, AFullQueueRefusesAWholeWriteAndKeepsWhatItHolds) {
  GatedFile file;
  TestClock clock;
  BackgroundWriter writer(file, 256, 0, clock);
  writer.Open("j");
  file.Hold();
  writer.Write("held\r\n", false);
  file.WaitUntilHeld();
  const std::string line(40, 'x');  // 48 bytes of the queue with its header
  int taken = 0;
  while (taken < 100 && writer.Write(line, false)) ++taken;
  // 256 bytes hold at most five such records beside the one held, fewer when one would have to
  // wrap around the end of the ring.
  EXPECT_GE(taken, 3);
  EXPECT_LE(taken, 5);
  EXPECT_FALSE(writer.Write(std::string(200, 'y'), false)) << "more than half the queue";
  file.Release();
  writer.Flush();
  std::string expected = "held\r\n";
  for (int i = 0; i < taken; ++i) expected += line;
  EXPECT_EQ(file.Content(), expected) << "the refused writes left nothing behind";
  // Room again once the writer caught up, across the end of the ring.
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(writer.Write(std::to_string(i) + ";", false));
    if (i % 4 == 3) writer.Flush();
  }
  writer.Flush();
  std::string more;
  for (int i = 0; i < 40; ++i) more += std::to_string(i) + ";";
  EXPECT_EQ(file.Content(), expected + more);
}

TEST(BackgroundWriter, BytesArePushedToTheDiskAtMostTheIntervalAfterTheLastPush) {
  GatedFile file;
  TestClock clock;
  BackgroundWriter writer(file, 4096, 100, clock);
  auto syncs = [&] {
    writer.Flush();
    int n = 0;
    for (const std::string& c : file.Calls()) n += c == "sync";
    return n;
  };
  writer.Open("j");
  writer.Write("start\r\n", true);
  EXPECT_EQ(syncs(), 1);
  clock.now += 30;
  writer.Write("a\r\n", false);
  EXPECT_EQ(syncs(), 1) << "30 ms after the last push: it waits";
  clock.now += 60;
  writer.Write("b\r\n", false);
  writer.Wake();
  EXPECT_EQ(syncs(), 1) << "90 ms";
  clock.now += 10;
  writer.Wake();
  EXPECT_EQ(syncs(), 2) << "100 ms after the last push, without a new write";
  clock.now += 500;
  writer.Wake();
  EXPECT_EQ(syncs(), 2) << "nothing new, nothing pushed";
  writer.Write("c\r\n", false);
  EXPECT_EQ(syncs(), 3) << "long after the last push: at once";
  EXPECT_EQ(writer.Syncs(), 3u);
}

TEST(BackgroundWriter, FailuresAreReportedWithTheNumberOfTheirOpen) {
  GatedFile file;
  TestClock clock;
  BackgroundWriter writer(file, 4096, 100, clock);
  file.failOpen = true;
  writer.Open("refused");
  writer.Write("lost\r\n", false);
  writer.Flush();
  EXPECT_EQ(writer.LastFailedOpen(), 1u);
  EXPECT_EQ(file.Content(), "") << "nothing is appended to a file that did not open";
  file.failOpen = false;
  writer.Open("second");
  writer.Write("kept\r\n", false);
  writer.Flush();
  EXPECT_EQ(writer.LastFailedOpen(), 1u) << "the second open went well";
  EXPECT_EQ(file.Content(), "kept\r\n");
  file.failAppend = true;
  writer.Open("third");
  writer.Write("x\r\n", false);
  writer.Write("y\r\n", false);
  writer.Flush();
  EXPECT_EQ(writer.LastFailedOpen(), 3u) << "a failed append marks its open";
  EXPECT_EQ(file.Content(), "kept\r\nx\r\n") << "and the file is given up after it";
}

// ---- The tick log.

TEST(TickLog, EachTickIsALineWithItsPartsInMicroseconds) {
  testing::FakeClock clock;  // 10 MHz counter
  GatedFile file;
  {
    TickLog log(clock, file, "ticks.txt");
    for (int tick = 0; tick < 3; ++tick) {
      log.TickBegins();
      clock.AdvanceNs(150000);  // 150 us
      log.PartDone(TickPart::kSupervise);
      clock.AdvanceNs(2000000);  // 2 ms
      log.PartDone(TickPart::kPassages);
      clock.AdvanceNs(500000);
      log.PartDone(TickPart::kSound);
      clock.AdvanceNs(100000);
      log.PartDone(TickPart::kPassages);
      log.TickEnds();
      clock.AdvanceNs(10000000 - 2750000);  // the next tick 10 ms after this one began
    }
    log.Flush();
    EXPECT_EQ(log.TicksLogged(), 3u);
  }
  const std::string content = file.Content();
  const std::string header =
      "# tick\tat_ms\tgap_us\ttotal_us\tsupervise_us\tcountdown_us\tstart_us\tclock_us\t"
      "passages_us\tsound_us\tstop_us\tscan_us\tdiscard_us\tjournal_us\t\r\n";
  ASSERT_EQ(content.substr(0, header.size()), header);
  EXPECT_EQ(content.substr(header.size()),
            "1\t0\t0\t2750\t150\t0\t0\t0\t2100\t500\t0\t0\t0\t0\t\r\n"
            "2\t10\t10000\t2750\t150\t0\t0\t0\t2100\t500\t0\t0\t0\t0\t\r\n"
            "3\t20\t10000\t2750\t150\t0\t0\t0\t2100\t500\t0\t0\t0\t0\t\r\n");
}

TEST(TickLog, TicksThatFindTheQueueFullAreCountedInTheNextLine) {
  testing::FakeClock clock;
  GatedFile file;
  TickLog log(clock, file, "ticks.txt");
  file.Hold();
  log.TickBegins();
  log.TickEnds();
  file.WaitUntilHeld();
  uint64_t ticks = 1;
  while (log.TicksLeftOut() < 3) {
    log.TickBegins();
    log.TickEnds();
    ++ticks;
    ASSERT_LT(ticks, 100000u);
  }
  file.Release();
  log.Flush();
  log.TickBegins();
  log.TickEnds();
  log.Flush();
  const std::string content = file.Content();
  EXPECT_NE(content.find("# 3 ticks not logged\r\n" + std::to_string(ticks + 1) + "\t"),
            std::string::npos);
  EXPECT_EQ(log.TicksLogged() + log.TicksLeftOut(), ticks + 1);
}

}  // namespace
}  // namespace zarvo
