// Durability seen from the system calls, watched with strace on a child run of this test program:
// a whole-file replacement puts its temporary file on the disk before renaming it over the old one
// (a power cut leaves the old file or the new one, never an empty one), and the run journal is
// removed only after the working copy its run was written into in place is on the disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "session/run_journal_file.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"

namespace zarvo {
namespace {

// Run only as the traced child.
TEST(FileReplacement, DISABLED_ReplaceOneFile) {
  ASSERT_TRUE(WriteFileReplacing("replaced.txt", "new content\r\n"));
}

// Run only as the traced child: a run journaled from its start to its end, then its section
// written into the working copy.
TEST(FileReplacement, DISABLED_RetireAJournal) {
  ASSERT_TRUE(MakeDirectory("Private"));
  testing::WriteBytes(kWorkingCopyPath, "10000\tSamedi\t1\t1\t1\t\r\n");
  std::unique_ptr<Race> race = testing::MakeRace({{"ANNA", "001001"}});
  const SoundSettings sounds = testing::AllSoundsOn();
  testing::RecordingMessageBoxes boxes;
  const std::string savedFile;
  const int32_t runNumber = 1;
  RunJournalFile journal(JournalSessionSource{"Samedi", savedFile, runNumber, ""}, sounds, boxes);
  journal.RunStarted(*race);
  journal.RunEnded(60000);
  journal.Flush();
  ASSERT_TRUE(FileExists(kJournalPath));
  journal.SectionWritten(runNumber);
  EXPECT_FALSE(FileExists(kJournalPath));
}

// Runs the disabled test as a child under strace, tracing those calls; the trace, one call a
// line.
std::string TraceChild(const char* test, const char* calls) {
  char self[PATH_MAX] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return "";
  const std::string command = std::string("strace -f -qq -e trace=") + calls + " -o trace.log '" +
                              self + "' --gtest_filter=FileReplacement." + test +
                              " --gtest_also_run_disabled_tests >child.log 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << testing::ReadBytes("child.log");
  return testing::ReadBytes("trace.log");
}

TEST(FileReplacement, TheTemporaryFileIsOnTheDiskBeforeItsRename) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  testing::TempFolder folder;
  testing::WriteBytes("replaced.txt", "old content\r\n");
  const std::string trace =
      TraceChild("DISABLED_ReplaceOneFile", "fsync,fdatasync,rename,renameat,renameat2");
  EXPECT_EQ(testing::ReadBytes("replaced.txt"), "new content\r\n");
  const size_t rename = trace.find("rename");
  ASSERT_NE(rename, std::string::npos) << trace;
  const size_t sync = trace.find("fsync");
  EXPECT_LT(sync, rename) << trace;
  EXPECT_NE(trace.find("fsync", rename), std::string::npos) << "the folder after the rename\n"
                                                            << trace;
}

// The offset of the first line of the trace, from offset from on, that holds both texts; npos
// when there is none.
size_t FindLine(const std::string& trace, const std::string& a, const std::string& b,
                size_t from = 0) {
  while (from < trace.size()) {
    size_t end = trace.find('\n', from);
    if (end == std::string::npos) end = trace.size();
    const std::string line = trace.substr(from, end - from);
    if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return from;
    from = end + 1;
  }
  return std::string::npos;
}

TEST(FileReplacement, TheJournalIsRemovedOnlyOnceTheWorkingCopyIsOnTheDisk) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  testing::TempFolder folder;
  const std::string trace =
      TraceChild("DISABLED_RetireAJournal", "openat,fsync,fdatasync,close,unlink,unlinkat");
  // The working copy opened for writing and pushed to the disk through that descriptor, then the
  // journal removed.
  const size_t opened = FindLine(trace, "Private/Session.trng\"", "O_RDWR");
  ASSERT_NE(opened, std::string::npos) << "the working copy is never opened to be pushed\n"
                                       << trace;
  const size_t result = trace.find(") = ", opened);
  ASSERT_NE(result, std::string::npos) << trace;
  const std::string descriptor = std::to_string(std::atoi(trace.c_str() + result + 4));
  const size_t pushed = FindLine(trace, "fsync(" + descriptor + ")", "", opened);
  const size_t removed = FindLine(trace, "unlink", "Private/JournalPassages.jrn\"");
  ASSERT_NE(pushed, std::string::npos) << "the working copy is never pushed to the disk\n" << trace;
  ASSERT_NE(removed, std::string::npos) << "the journal is never removed\n" << trace;
  EXPECT_LT(pushed, removed) << trace;
}

}  // namespace
}  // namespace zarvo
