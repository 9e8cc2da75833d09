// The live results as JSON and event-stream messages: valid JSON whatever the names hold,
// Windows-1252 texts as UTF-8, markup characters escaped, and the run's rows and laps as the
// table writes them.
#include "web/live_json.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/codepage.h"
#include "tests/support/live_samples.h"

namespace zarvo {
namespace {

using nlohmann::json;
using testing::SampleSnapshot;

std::string JsonOf(std::string_view cp1252) {
  std::string out;
  AppendJsonText(out, cp1252);
  return out;
}

TEST(LiveJson, TextsAreConvertedFromWindows1252AndEscaped) {
  EXPECT_EQ(JsonOf("ANNA"), "\"ANNA\"");
  // é (E9), € (80), œ (9C) as UTF-8.
  EXPECT_EQ(JsonOf("Ren\xE9 \x80 \x9C"), "\"Ren\xC3\xA9 \xE2\x82\xAC \xC5\x93\"");
  EXPECT_EQ(JsonOf("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonOf("<script>&"), "\"\\u003cscript\\u003e\\u0026\"");
  EXPECT_EQ(JsonOf("\t\r\n\x01\x1F\x7F"), "\"\\t\\r\\n\\u0001\\u001f\\u007f\"");
  // The bytes Windows-1252 leaves unassigned become C1 controls, written escaped.
  EXPECT_EQ(JsonOf("\x81\x8D\x8F\x90\x9D"), "\"\\u0081\\u008d\\u008f\\u0090\\u009d\"");
  EXPECT_EQ(JsonOf(std::string_view("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(LiveJson, EveryByteOfANameReadsBackAsItsCharacter) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string written = JsonOf(all);
  for (char c : written) {
    const unsigned char u = static_cast<unsigned char>(c);
    EXPECT_TRUE(u >= 0x20 && u != 0x7F) << "raw control byte " << int(u);
    EXPECT_TRUE(c != '<' && c != '>' && c != '&') << "markup character left as is";
  }
  const json parsed = json::parse(written);
  std::string expected;
  for (int c = 1; c < 256; ++c) expected += Cp1252ToUtf8(std::string(1, static_cast<char>(c)));
  EXPECT_EQ(parsed.get<std::string>(), expected);
}

TEST(LiveJson, TheSnapshotHoldsTheLiveRunTheClockAndTheOtherRuns) {
  const auto s = SampleSnapshot(2, 3, {testing::TimedRunResults(1, 3, 2)});
  s->version = 12;
  const json j = json::parse(SnapshotJson(*s));
  EXPECT_EQ(j["version"], 12);
  EXPECT_EQ(j["session"], "SEANCE TRAINING");
  EXPECT_EQ(j["run"], 3);
  EXPECT_EQ(j["state"], "running");
  EXPECT_EQ(j["title"], "Start 2024/05/01 14:03:10 - Duration 1:00:00");
  EXPECT_EQ(j["clock"]["remaining"], "0:47:26");
  EXPECT_EQ(j["clock"]["elapsed"], "0:12:34");
  EXPECT_EQ(j["clock"]["lapRun"], false);
  EXPECT_EQ(j["runsId"], 77);
  ASSERT_EQ(j["rows"].size(), 2u);
  const json& first = j["rows"][0];
  EXPECT_EQ(first["pos"], 1);
  EXPECT_EQ(first["slot"], 1);
  EXPECT_EQ(first["name"], "Driver 1");
  EXPECT_EQ(first["laps"], "3");
  // Laps of 30 s + 100 ms + k x 7 ms, written as the table writes lap times.
  EXPECT_EQ(first["lapTimes"], json::array({"30.107", "30.114", "30.121"}));
  EXPECT_EQ(first["best"], "30.107");
  EXPECT_EQ(first["last"], "30.121");
  EXPECT_EQ(first["total"], s->live.rows[0].totalText);
  EXPECT_EQ(first["runBest"], true);
  EXPECT_EQ(j["rows"][1]["runBest"], false);
  ASSERT_EQ(j["runs"].size(), 1u);
  EXPECT_EQ(j["runs"][0]["run"], 1);
  EXPECT_EQ(j["runs"][0]["rows"].size(), 3u);
  EXPECT_EQ(j["runs"][0]["rows"][0]["finished"], true);
}

TEST(LiveJson, AnEmptyRunAndAFinishedRun) {
  auto empty = SampleSnapshot(0, 0);
  empty->state = LiveRunState::kWaiting;
  const json e = json::parse(SnapshotJson(*empty));
  EXPECT_TRUE(e["rows"].is_array());
  EXPECT_TRUE(e["rows"].empty());
  EXPECT_TRUE(e["runs"].empty());
  EXPECT_EQ(e["state"], "waiting");

  auto finished = SampleSnapshot(3, 2);
  finished->state = LiveRunState::kFinished;
  for (LiveRow& row : finished->live.rows) row.finished = true;
  const json f = json::parse(LiveRunJson(*finished));
  EXPECT_EQ(f["state"], "finished");
  for (const json& row : f["rows"]) EXPECT_EQ(row["finished"], true);
  EXPECT_FALSE(f.contains("runs")) << "the event stream leaves the other runs out";
}

TEST(LiveJson, TwentyDriversOf999LapsFitInOneValidMessage) {
  const auto s = SampleSnapshot(20, 999);
  s->version = 3;
  const std::string message = EventMessage(*s);
  ASSERT_EQ(message.rfind("id: 3\ndata: ", 0), 0u);
  ASSERT_GE(message.size(), 2u);
  EXPECT_EQ(message.substr(message.size() - 2), "\n\n");
  const std::string data = message.substr(12, message.size() - 14);
  EXPECT_EQ(data.find('\n'), std::string::npos) << "one data line";
  const json j = json::parse(data);
  ASSERT_EQ(j["rows"].size(), 20u);
  for (const json& row : j["rows"]) EXPECT_EQ(row["lapTimes"].size(), 999u);
  EXPECT_EQ(j["rows"][19]["lapTimes"][998], "38.993") << "30 s + 20 x 100 ms + 999 x 7 ms";
}

TEST(LiveJson, HostileNamesStayTextInTheJsonAndTheMessage) {
  auto s = SampleSnapshot(3, 1);
  s->live.rows[0].driverName = "<script>alert(1)</script>";
  s->live.rows[1].driverName = "line\nbreak\r\ndata: x";
  s->live.rows[2].driverName = "\"},{\"pos\":99";
  s->sessionName = "</script><b>";
  const std::string message = EventMessage(*s);
  EXPECT_EQ(message.find("<"), std::string::npos);
  EXPECT_EQ(message.find("\ndata: x"), std::string::npos) << "no second data line";
  const json j = json::parse(message.substr(message.find("data: ") + 6));
  EXPECT_EQ(j["rows"][0]["name"], "<script>alert(1)</script>");
  EXPECT_EQ(j["rows"][1]["name"], "line\nbreak\r\ndata: x");
  EXPECT_EQ(j["rows"][2]["name"], "\"},{\"pos\":99");
  EXPECT_EQ(j["rows"].size(), 3u);
  EXPECT_EQ(j["session"], "</script><b>");
}

TEST(LiveJson, NegativeOrHugeLapTimesOfADamagedRunStillWriteTimes) {
  auto s = SampleSnapshot(1, 1);
  s->live.rows[0].lapTimes = {-5, 0, INT32_MAX};
  const json j = json::parse(SnapshotJson(*s));
  EXPECT_EQ(j["rows"][0]["lapTimes"], json::array({"0.000", "0.000", "596:31:23.647"}));
}

}  // namespace
}  // namespace zarvo
