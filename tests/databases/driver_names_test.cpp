// Driver name rules: the editor's messages in their order, and no name that breaks them ever
// becomes the path of a runs database.
#include "databases/driver_names.h"

#include <gtest/gtest.h>

#include "text/catalogue.h"

namespace zarvo {
namespace {

TEST(DriverNameRules, AreCheckedInTheEditorsOrder) {
  EXPECT_EQ(CheckDriverName(""), DriverNameProblem::kEmpty);
  EXPECT_EQ(CheckDriverName(" Ana"), DriverNameProblem::kLeadingSpace);
  EXPECT_EQ(CheckDriverName(" a/b"), DriverNameProblem::kLeadingSpace);
  for (const char* name : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
    EXPECT_EQ(CheckDriverName(name), DriverNameProblem::kForbiddenCharacter) << name;
  }
  EXPECT_EQ(CheckDriverName("x(NA)/y"), DriverNameProblem::kForbiddenCharacter);
  EXPECT_EQ(CheckDriverName("Bob(NA)"), DriverNameProblem::kContainsNoDriver);
  EXPECT_EQ(CheckDriverName("(NA)Session"), DriverNameProblem::kContainsNoDriver);
  EXPECT_EQ(CheckDriverName("MaSession"), DriverNameProblem::kContainsSession);
}

TEST(DriverNameRules, OrdinaryNamesPass) {
  for (const char* name : {"Ana", "session", "(na)", "\xC9lodie Mar\xE9", "J.-P. O'Neil", "Ana ",
                           "..", "Conrad", "COM0", "LPT10"}) {
    EXPECT_EQ(CheckDriverName(name), DriverNameProblem::kNone) << name;
  }
}

TEST(DriverNameRules, DeviceNamesAndControlCharactersCannotBeFileNames) {
  for (const char* name :
       {"CON", "con", "Nul", "PRN", "aux", "COM1", "lpt9", "CON.x", "nul ", "Tab\there", "a\x1F"}) {
    EXPECT_EQ(CheckDriverName(name), DriverNameProblem::kNotAFileName) << name;
  }
}

TEST(DriverNameRules, EveryRefusalHasItsMessageAndAnEmptyNameNone) {
  EXPECT_EQ(DriverNameProblemText(DriverNameProblem::kNone), nullptr);
  EXPECT_EQ(DriverNameProblemText(DriverNameProblem::kEmpty), nullptr);
  EXPECT_STREQ(DriverNameProblemText(DriverNameProblem::kLeadingSpace),
               TXT_DRIVER_NAME_LEADING_SPACE);
  EXPECT_STREQ(DriverNameProblemText(DriverNameProblem::kForbiddenCharacter),
               TXT_DRIVER_NAME_FORBIDDEN_CHARACTER);
  EXPECT_STREQ(DriverNameProblemText(DriverNameProblem::kContainsNoDriver),
               TXT_DRIVER_NAME_NO_DRIVER_WORD);
  EXPECT_STREQ(DriverNameProblemText(DriverNameProblem::kContainsSession),
               TXT_DRIVER_NAME_SESSION_WORD);
  EXPECT_STREQ(DriverNameProblemText(DriverNameProblem::kNotAFileName),
               TXT_DRIVER_NAME_NOT_A_FILE_NAME);
}

TEST(RunsDatabasePath, IsTheDriverNameInTheRunsFolder) {
  EXPECT_EQ(RunsDatabasePath("Ana"),
            "Base donn\xE9"
            "es runs/Ana.bdr");
  EXPECT_EQ(RunsDatabasePath("\xC9lodie"),
            "Base donn\xE9"
            "es runs/\xC9lodie.bdr");
}

TEST(RunsDatabasePath, ANameThatBreaksTheRulesIsNeverAPath) {
  for (const char* name :
       {"..\\..\\x", "a/b", "../x", " Ana", "(NA)", "Session", "", "C:x", "CON"}) {
    EXPECT_EQ(RunsDatabasePath(name), "") << name;
  }
}

}  // namespace
}  // namespace zarvo
