// Filling the live results page's template with the edition's texts.
#include "web/live_page.h"

#include <cstdio>

#include "platform/codepage.h"
#include "text/catalogue.h"
#include "web/live_json.h"

namespace zarvo {

namespace {

void Replace(std::string& page, std::string_view mark, const std::string& with) {
  for (size_t at = page.find(mark); at != std::string::npos; at = page.find(mark, at)) {
    page.replace(at, mark.size(), with);
    at += with.size();
  }
}

void AppendText(std::string& out, const char* key, const char* cp1252) {
  out += '"';
  out += key;
  out += "\":";
  AppendJsonText(out, cp1252);
  out += ',';
}

}  // namespace

std::string HtmlEscape(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string LivePageTextsJson() {
  std::string out = "{";
  AppendText(out, "title", TXT_WEB_TITLE);
  AppendText(out, "run", TXT_WEB_RUN);
  AppendText(out, "waiting", TXT_WEB_STATE_WAITING);
  AppendText(out, "countdown", TXT_WEB_STATE_COUNTDOWN);
  AppendText(out, "running", TXT_WEB_STATE_RUNNING);
  AppendText(out, "finished", TXT_WEB_STATE_FINISHED);
  AppendText(out, "remaining", TXT_WEB_REMAINING);
  AppendText(out, "elapsed", TXT_WEB_ELAPSED);
  AppendText(out, "duration", TXT_WEB_DURATION);
  AppendText(out, "position", TXT_WEB_POSITION);
  AppendText(out, "driver", TXT_HEADING_DRIVER);
  AppendText(out, "laps", TXT_HEADING_LAPS);
  AppendText(out, "lastLap", TXT_HEADING_LAP_TIME);
  AppendText(out, "bestLap", TXT_HEADING_BEST_LAP);
  AppendText(out, "totalTime", TXT_HEADING_TOTAL_TIME);
  AppendText(out, "noDriver", TXT_WEB_NO_DRIVER);
  AppendText(out, "otherRuns", TXT_WEB_OTHER_RUNS);
  AppendText(out, "noOtherRun", TXT_WEB_NO_OTHER_RUN);
  AppendText(out, "lap", TXT_WEB_LAP);
  AppendText(out, "noLap", TXT_WEB_NO_LAP);
  AppendText(out, "tapHint", TXT_WEB_TAP_HINT);
  AppendText(out, "offline", TXT_WEB_OFFLINE);
  out.back() = '}';
  return out;
}

std::string LivePageHtml() {
  std::string page = kLivePageTemplate;
  Replace(page, "{{LANG}}", ZARVO_EDITION_NAME);
  Replace(page, "{{TITLE}}", HtmlEscape(Cp1252ToUtf8(TXT_WEB_TITLE)));
  Replace(page, "{{TEXTS}}", LivePageTextsJson());
  return page;
}

}  // namespace zarvo
