// Whole-file replacement seen from the system calls: the temporary file reaches the disk before
// it is renamed over the old one, so a power cut leaves the old file or the new one, never an
// empty one. Watched with strace on a child run of this test program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

// Run only as the traced child.
TEST(FileReplacement, DISABLED_ReplaceOneFile) {
  ASSERT_TRUE(WriteFileReplacing("replaced.txt", "new content\r\n"));
}

TEST(FileReplacement, TheTemporaryFileIsOnTheDiskBeforeItsRename) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  testing::TempFolder folder;
  testing::WriteBytes("replaced.txt", "old content\r\n");
  char self[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  const std::string command =
      "strace -f -qq -e trace=fsync,fdatasync,rename,renameat,renameat2 -o trace.log '" +
      std::string(self) +
      "' --gtest_filter=FileReplacement.DISABLED_ReplaceOneFile --gtest_also_run_disabled_tests"
      " >child.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << testing::ReadBytes("child.log");
  EXPECT_EQ(testing::ReadBytes("replaced.txt"), "new content\r\n");
  const std::string trace = testing::ReadBytes("trace.log");
  const size_t rename = trace.find("rename");
  ASSERT_NE(rename, std::string::npos) << trace;
  const size_t sync = trace.find("fsync");
  EXPECT_LT(sync, rename) << trace;
  EXPECT_NE(trace.find("fsync", rename), std::string::npos) << "the folder after the rename\n"
                                                            << trace;
}

}  // namespace
}  // namespace zarvo
