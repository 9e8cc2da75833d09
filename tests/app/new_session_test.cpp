// The session at start-up until the session commands exist: its nodes, its working copy and the
// question of closing.
#include "app/new_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/session_file.h"
#include "app/session_format.h"
#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

class RecordingTree : public SessionTreeNodes {
 public:
  void Clear() override { lines.push_back("clear"); }
  void InsertNode(int32_t id, int32_t parentId, int32_t afterId, const char* label, int image,
                  bool bold) override {
    lines.push_back(std::to_string(id) + " in " + std::to_string(parentId) + " after " +
                    std::to_string(afterId) + " '" + label + "' image " + std::to_string(image) +
                    (bold ? " bold" : ""));
  }
  void Expand(int32_t id) override { lines.push_back("expand " + std::to_string(id)); }
  std::vector<std::string> lines;
};

class NewSessionTest : public ::testing::Test {
 protected:
  NewSessionTest() : state(std::make_unique<ProgramState>()), session(*state, tree, boxes) {}
  TempFolder folder;
  std::unique_ptr<ProgramState> state;
  RecordingTree tree;
  testing::RecordingMessageBoxes boxes;
  NewSessionOnly session;
};

TEST_F(NewSessionTest, TheTreeShowsTheBoldSessionAndItsFourNodesExpanded) {
  session.BuildTree();
  const std::vector<std::string> expected = {
      "clear",
      "10000 in 0 after 0 'SEANCE TRAINING' image 4 bold",
      std::string("11000 in 10000 after 0 '") + TXT_TREE_TRACK + "' image 0",
      std::string("12000 in 10000 after 0 '") + ZT("Drivers (0)", "Pilotes (0)") + "' image 1",
      std::string("13000 in 10000 after 0 '") + TXT_TREE_PARAMETERS + "' image 2",
      std::string("14000 in 10000 after 0 '") + TXT_TREE_SESSIONS + "' image 3",
      "expand 10000"};
  EXPECT_EQ(tree.lines, expected);
}

TEST_F(NewSessionTest, StartUpCreatesAWorkingCopyWithTheHeaderOnlyAndAnEmptyTable) {
  SetText(state->session.runCaption, " OLD - Run3 ");
  session.StartUp();
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
  EXPECT_EQ(state->race.participantCount, 0);
  EXPECT_STREQ(state->race.slots[0].driverName, kNoDriver);
  EXPECT_TRUE(state->race.slots[19].finished);
  EXPECT_STREQ(state->session.participants.entries[7].driverName, kNoDriver);
  EXPECT_STREQ(state->session.runCaption, "");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(NewSessionTest, AWorkingCopyThatCannotBeCreatedIsReported) {
  testing::WriteBytes("Private", "a file where the folder should be");
  session.StartUp();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_SESSION_FILE_NOT_FOUND);
}

TEST_F(NewSessionTest, ClosingAsksWhetherToSaveAndOnlyCancelKeepsTheWindow) {
  session.StartUp();
  boxes.answers = {Answer::kCancel, Answer::kNo, Answer::kYes};
  EXPECT_FALSE(session.ConfirmClose());
  EXPECT_TRUE(session.ConfirmClose());
  EXPECT_TRUE(session.ConfirmClose());
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_QUESTION);
  EXPECT_EQ(boxes.shown[0].text, TXT_QUIT_SAVE_QUESTION);
  EXPECT_TRUE(boxes.shown[0].question);
}

TEST_F(NewSessionTest, SessionCommandsAreTakenAndChangeNothing) {
  session.StartUp();
  session.BuildTree();
  const size_t nodes = tree.lines.size();
  for (int id : {1001, 1002, 1003, 1004, 1005, 1051, 1052, 1053, 1054, 1055}) {
    EXPECT_TRUE(session.OnCommand(id)) << id;
  }
  EXPECT_FALSE(session.OnCommand(1006));
  EXPECT_FALSE(session.OnTreeBeginLabelEdit()) << "renaming comes with the session commands";
  EXPECT_EQ(tree.lines.size(), nodes);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
}

}  // namespace
}  // namespace zarvo
