// The message catalogue: both forms of every text have the same printf placeholders, and the
// texts compiled into the program are Windows-1252 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "text/catalogue.h"

namespace {

struct Entry {
  std::string file;
  std::string name;
  std::string english;
  std::string french;
};

// Reads every "#define TXT_NAME ZT("...", "...")" of the catalogue files, continuation lines
// joined. The string literals may hold escaped quotes.
std::vector<Entry> ReadCatalogue() {
  const char* files[] = {"common", "race", "decoder", "app", "database", "settings", "display",
                         "analysis", "export", "web", "speech"};
  const std::regex define(
      R"re(#define\s+(TXT_\w+)\s+ZT\(\s*((?:"(?:[^"\\]|\\.)*"\s*)+),\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
  const std::regex literal(R"re("((?:[^"\\]|\\.)*)")re");
  std::vector<Entry> entries;
  for (const char* file : files) {
    const std::string path = std::string(ZARVO_SOURCE_DIR) + "/text/" + file + "_texts.h";
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = std::regex_replace(buffer.str(), std::regex("\\\\\n"), " ");
    auto join = [&](const std::string& literals) {
      std::string out;
      for (std::sregex_iterator it(literals.begin(), literals.end(), literal), end; it != end; ++it)
        out += (*it)[1].str();
      return out;
    };
    for (std::sregex_iterator it(text.begin(), text.end(), define), end; it != end; ++it) {
      entries.push_back({file, (*it)[1].str(), join((*it)[2].str()), join((*it)[3].str())});
    }
  }
  return entries;
}

std::vector<std::string> Placeholders(const std::string& text) {
  const std::regex conversion(R"(%[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|z|I64)?[diouxXsScfegp%])");
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    found.push_back(it->str());
  return found;
}

TEST(Catalogue, BothFormsOfEveryTextHaveTheSamePlaceholders) {
  const std::vector<Entry> entries = ReadCatalogue();
  ASSERT_GE(entries.size(), 5u);
  for (const Entry& e : entries) {
    EXPECT_EQ(Placeholders(e.english), Placeholders(e.french))
        << e.name << " in " << e.file << "_texts.h";
  }
}

TEST(Catalogue, EveryNameIsDefinedOnce) {
  std::vector<std::string> names;
  for (const Entry& e : ReadCatalogue()) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
}

TEST(Catalogue, TextsAreCompiledAsWindows1252) {
#if defined(ZARVO_EDITION_FR)
  // "Départ" with é as the single byte 0xE9, not the two UTF-8 bytes C3 A9.
  EXPECT_EQ(std::string(TXT_RUN_TITLE).substr(0, 7), "D\xE9part ");
  EXPECT_STREQ(ZARVO_EDITION_NAME, "fr");
#else
  EXPECT_EQ(std::string(TXT_RUN_TITLE).substr(0, 6), "Start ");
  EXPECT_STREQ(ZARVO_EDITION_NAME, "en");
#endif
  // Whatever the edition, a literal written in UTF-8 in the source is one byte per letter.
  EXPECT_EQ(std::string("é").size(), 1u);
  EXPECT_EQ(std::string("é")[0], '\xE9');
  EXPECT_EQ(std::string("€")[0], '\x80');
}

}  // namespace
