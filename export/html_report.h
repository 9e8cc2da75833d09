// The HTML report of an export: one self-contained page for a club's web site, in the edition's
// language, with each run's classification, each driver's lap-time chart (inline SVG, the curve
// view's geometry) and lap list. The style is in the page, a picture is a data: URI, there is no
// script, and the page prints on A4.
//
// The page is well-formed XML as well as HTML (every element closed, only the five XML entities,
// no control characters), so XML tools read it too. Every text of the data is converted from
// Windows-1252 to UTF-8 and escaped.
#pragma once

#include <string>
#include <string_view>

#include "export/export_model.h"

namespace zarvo {

// A picture shown at the top of the page, e.g. the program's "images/logo.bmp".
struct ExportPicture {
  std::string_view mimeType;  // "image/bmp", "image/png"
  std::string_view bytes;
  int width;  // CSS pixels it is shown at
  int height;
};

// The page. logo may be null.
std::string HtmlReport(const ExportSession& session, const ExportPicture* logo = nullptr);

}  // namespace zarvo
