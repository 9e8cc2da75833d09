// The live results page: self-contained, in the edition's language, and built so that nothing
// it shows can become markup or script.
#include "web/live_page.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "platform/codepage.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

std::string Between(const std::string& page, const std::string& from, const std::string& to) {
  const size_t start = page.find(from);
  if (start == std::string::npos) return {};
  const size_t end = page.find(to, start + from.size());
  if (end == std::string::npos) return {};
  return page.substr(start + from.size(), end - start - from.size());
}

TEST(LivePage, IsOneDocumentThatLoadsNothingFromElsewhere) {
  const std::string page = LivePageHtml();
  ASSERT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("name=\"viewport\""), std::string::npos) << "phone first";
  // No external script, style sheet, font, image or frame: the club has no internet. The one
  // link is the empty icon, so the browser does not ask for one.
  std::string rest = page;
  const std::string icon = "<link rel=\"icon\" href=\"data:,\">";
  ASSERT_NE(rest.find(icon), std::string::npos);
  rest.erase(rest.find(icon), icon.size());
  for (const char* loader : {"<link", " src=", "@import", "url(", "<iframe", "http://", "https://",
                             "//cdn"}) {
    EXPECT_EQ(rest.find(loader), std::string::npos) << loader;
  }
  // No mark of the template is left.
  EXPECT_EQ(page.find("{{"), std::string::npos);
  // The script reaches only the server's own two paths.
  EXPECT_NE(page.find("\"results.json\""), std::string::npos);
  EXPECT_NE(page.find("EventSource(\"events\")"), std::string::npos);
}

TEST(LivePage, ValuesReachTheDocumentOnlyAsText) {
  const std::string script = Between(LivePageHtml(), "<script>", "</script>");
  ASSERT_FALSE(script.empty());
  for (const char* sink : {"innerHTML", "outerHTML", "insertAdjacentHTML", "document.write",
                           "eval(", "new Function", "setTimeout(\"", "setInterval(\""}) {
    EXPECT_EQ(script.find(sink), std::string::npos) << sink;
  }
  EXPECT_NE(script.find("textContent"), std::string::npos);
  EXPECT_EQ(script.find("</"), std::string::npos) << "nothing in the script may close it";
}

TEST(LivePage, TextsAreTheEditionsConvertedToUtf8) {
  const std::string page = LivePageHtml();
  EXPECT_NE(page.find(std::string("<html lang=\"") + ZARVO_EDITION_NAME + "\">"),
            std::string::npos);
  EXPECT_NE(page.find("<title>" + HtmlEscape(Cp1252ToUtf8(TXT_WEB_TITLE)) + "</title>"),
            std::string::npos);
  const nlohmann::json texts = nlohmann::json::parse(LivePageTextsJson());
  EXPECT_EQ(texts["driver"], Cp1252ToUtf8(TXT_HEADING_DRIVER));
  EXPECT_EQ(texts["bestLap"], Cp1252ToUtf8(TXT_HEADING_BEST_LAP));
  EXPECT_EQ(texts["remaining"], Cp1252ToUtf8(TXT_WEB_REMAINING));
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(texts["title"], std::string(u8"R\u00e9sultats en direct"));
  EXPECT_EQ(texts["elapsed"], std::string(u8"Ecoul\u00e9"));
  EXPECT_EQ(texts["lastLap"], "Dernier tour");
#else
  EXPECT_EQ(texts["title"], "Live results");
  EXPECT_EQ(texts["lastLap"], "Lap time");
#endif
  // Every text the script looks up is there.
  const std::string script = Between(page, "<script>", "</script>");
  const std::regex lookup(R"(T\.(\w+))");
  for (std::sregex_iterator it(script.begin(), script.end(), lookup), end; it != end; ++it) {
    EXPECT_TRUE(texts.contains((*it)[1].str())) << (*it)[1].str();
  }
  for (const char* state : {"waiting", "countdown", "running", "finished"}) {
    EXPECT_TRUE(texts.contains(state)) << state;
  }
}

TEST(LivePage, HtmlEscapeWritesEveryMarkupCharacterAsAReference) {
  EXPECT_EQ(HtmlEscape("<a href=\"x\">L'\u00e9t\u00e9 & co</a>"),
            "&lt;a href=&quot;x&quot;&gt;L&#39;\u00e9t\u00e9 &amp; co&lt;/a&gt;");
  EXPECT_EQ(HtmlEscape(""), "");
}

}  // namespace
}  // namespace zarvo
