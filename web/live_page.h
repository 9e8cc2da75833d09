// The one page phones open: a self-contained HTML document (style and script inside, nothing
// fetched from elsewhere) in the edition's language. It holds no result itself: its script reads
// the JSON snapshot and follows the event stream, and puts every name in as text, never as markup.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

// The page, UTF-8, the same for every request of this edition.
std::string LivePageHtml();

// The UTF-8 text with '&', '<', '>', '"' and '\'' written as character references.
std::string HtmlEscape(std::string_view utf8);

// The page's texts as a JSON object (the catalogue's, converted and escaped), for its script.
std::string LivePageTextsJson();

// The template the page is made from, with the marks {{LANG}}, {{TITLE}} and {{TEXTS}}.
extern const char kLivePageTemplate[];

}  // namespace zarvo
