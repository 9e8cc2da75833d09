// Replaying a drawing list as SVG.
#include "export/svg_replay.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "export/export_text.h"

namespace zarvo {

namespace {

// Coordinates are handled in half units, so that the pixel centres GDI draws on are exact.
void AppendHalf(std::string& out, int64_t half) {
  if (half < 0) {
    out += '-';
    half = -half;
  }
  out += std::to_string(half / 2);
  if (half % 2 != 0) out += ".5";
}

// Hundredths, for font sizes and baselines.
void AppendHundredths(std::string& out, int64_t v) {
  if (v < 0) {
    out += '-';
    v = -v;
  }
  out += std::to_string(v / 100);
  const int64_t f = v % 100;
  if (f == 0) return;
  out += '.';
  out += static_cast<char>('0' + f / 10);
  if (f % 10 != 0) out += static_cast<char>('0' + f % 10);
}

void Attribute(std::string& out, const char* name, int64_t half) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendHalf(out, half);
  out += '"';
}

void Attribute(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  out.append(value);
  out += '"';
}

int64_t Twice(int64_t v) {
  return v * 2;
}

// Arial's cell: 2288 font units of which 1854 above the baseline, on an em of 2048.
constexpr int64_t kCellUnits = 2288;
constexpr int64_t kAscentUnits = 1854;
constexpr int64_t kEmUnits = 2048;

// A GDI font height is the cell height when positive, the em height when negative.
void FontMetrics(int height, int64_t& sizeHundredths, int64_t& ascentHundredths) {
  if (height >= 0) {
    sizeHundredths = (int64_t(height) * 100 * kEmUnits + kCellUnits / 2) / kCellUnits;
    ascentHundredths = (int64_t(height) * 100 * kAscentUnits + kCellUnits / 2) / kCellUnits;
  } else {
    sizeHundredths = int64_t(-height) * 100;
    ascentHundredths = (int64_t(-height) * 100 * kAscentUnits + kEmUnits / 2) / kEmUnits;
  }
}

// The filter that paints an opaque text's cell in its background colour.
std::string BackgroundId(std::string_view prefix, Colour c) {
  std::string id(prefix);
  id += "-bg";
  id += SvgColour(c).substr(1);
  return id;
}

// The pixels [l, r) x [t, b) in one colour.
void AppendFilledBox(std::string& out, int32_t l, int32_t t, int32_t r, int32_t b, Colour c) {
  out += "<rect";
  Attribute(out, "x", Twice(l));
  Attribute(out, "y", Twice(t));
  Attribute(out, "width", Twice(int64_t(r) - l));
  Attribute(out, "height", Twice(int64_t(b) - t));
  Attribute(out, "fill", SvgColour(c));
  out += "/>";
}

void AppendBox(std::string& out, const DrawOp& op) {
  const int32_t l = std::min(op.x1, op.x2), r = std::max(op.x1, op.x2);
  const int32_t t = std::min(op.y1, op.y2), b = std::max(op.y1, op.y2);
  if (op.kind == DrawKind::kFill) {
    if (r > l && b > t) AppendFilledBox(out, l, t, r, b, op.fill);
    return;
  }
  const int w = op.penWidth < 1 ? 1 : op.penWidth;
  if (op.kind == DrawKind::kRectangle && (int64_t(r) - l <= 2 * w || int64_t(b) - t <= 2 * w)) {
    // No room inside the outline: GDI covers the whole box with the pen.
    AppendFilledBox(out, l, t, r > l ? r : l + 1, b > t ? b : t + 1, op.colour);
    return;
  }
  // The outline runs inside the box: its centre line lies half a pen width in from each edge.
  const int64_t inset = w;  // half units
  const int64_t x = Twice(l) + inset, y = Twice(t) + inset;
  const int64_t width = Twice(int64_t(r) - l) - 2 * inset;
  const int64_t height = Twice(int64_t(b) - t) - 2 * inset;
  if (op.kind == DrawKind::kRectangle) {
    out += "<rect";
    Attribute(out, "x", x);
    Attribute(out, "y", y);
    Attribute(out, "width", width);
    Attribute(out, "height", height);
  } else {
    out += "<ellipse";
    Attribute(out, "cx", x + width / 2);
    Attribute(out, "cy", y + height / 2);
    Attribute(out, "rx", width / 2);
    Attribute(out, "ry", height / 2);
  }
  Attribute(out, "fill", op.hollow ? std::string("none") : SvgColour(op.fill));
  Attribute(out, "stroke", SvgColour(op.colour));
  if (w != 1) Attribute(out, "stroke-width", Twice(w));
  out += "/>";
}

// One path for consecutive lines of the same pen, starting at ops[i]; returns the next index.
int AppendLines(std::string& out, const DrawList& list, int i) {
  const DrawOp& first = list.ops[i];
  const int w = first.penWidth < 1 ? 1 : first.penWidth;
  // A pen of odd width is centred on the pixel row or column right of and below its
  // coordinate; an even one on the coordinate itself.
  const int64_t centre = w % 2 != 0 ? 1 : 0;
  std::string d;
  bool axisAligned = true;
  int64_t lastX = INT64_MIN, lastY = INT64_MIN;
  int j = i;
  for (; j < list.count; ++j) {
    const DrawOp& op = list.ops[j];
    if (op.kind != DrawKind::kLine || op.colour != first.colour || op.penWidth != first.penWidth)
      break;
    const bool horizontal = op.y1 == op.y2;
    const bool vertical = op.x1 == op.x2;
    if (!horizontal && !vertical) axisAligned = false;
    const int64_t dx = horizontal ? 0 : centre;
    const int64_t dy = vertical ? 0 : centre;
    const int64_t x1 = Twice(op.x1) + dx, y1 = Twice(op.y1) + dy;
    const int64_t x2 = Twice(op.x2) + dx, y2 = Twice(op.y2) + dy;
    // Wide pens have round ends and joins, so a chain may run on; thin ones end square.
    if (w == 1 || x1 != lastX || y1 != lastY) {
      d += 'M';
      AppendHalf(d, x1);
      d += ' ';
      AppendHalf(d, y1);
    }
    d += 'L';
    AppendHalf(d, x2);
    d += ' ';
    AppendHalf(d, y2);
    lastX = x2;
    lastY = y2;
  }
  out += "<path";
  Attribute(out, "d", d);
  Attribute(out, "fill", "none");
  Attribute(out, "stroke", SvgColour(first.colour));
  if (w != 1) {
    Attribute(out, "stroke-width", Twice(w));
    Attribute(out, "stroke-linecap", "round");
    Attribute(out, "stroke-linejoin", "round");
  }
  if (axisAligned) Attribute(out, "shape-rendering", "crispEdges");
  out += "/>";
  return j;
}

void AppendText(std::string& out, const DrawList& list, const DrawOp& op,
                std::string_view idPrefix) {
  int64_t size = 0, ascent = 0;
  FontMetrics(op.font.height, size, ascent);
  out += "<text";
  Attribute(out, "x", Twice(op.x1));
  out += " y=\"";
  AppendHundredths(out, int64_t(op.y1) * 100 + ascent);
  out += "\" font-size=\"";
  AppendHundredths(out, size);
  out += '"';
  if (op.font.weight != 400) Attribute(out, "font-weight", std::to_string(op.font.weight));
  if (op.font.underline) Attribute(out, "text-decoration", "underline");
  if (op.align == TextAlign::kRight) Attribute(out, "text-anchor", "end");
  if (op.align == TextAlign::kCentre) Attribute(out, "text-anchor", "middle");
  if (op.colour != kBlack) Attribute(out, "fill", SvgColour(op.colour));
  if (op.opaque) {
    out += " filter=\"url(#";
    out += BackgroundId(idPrefix, op.fill);
    out += ")\"";
  }
  out += '>';
  AppendEscaped(out, list.TextOf(op));
  out += "</text>";
}

}  // namespace

std::string SvgColour(Colour colour) {
  static const char kHex[] = "0123456789abcdef";
  const int channels[3] = {int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF)};
  std::string out = "#";
  for (const int c : channels) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

void AppendSvg(std::string& out, const DrawList& list, const SvgView& view, std::string_view title,
               std::string_view idPrefix) {
  const std::string titleId = std::string(idPrefix) + "-title";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"";
  out += std::to_string(view.left) + ' ' + std::to_string(view.top) + ' ' +
         std::to_string(view.width) + ' ' + std::to_string(view.height);
  out += "\" width=\"" + std::to_string(view.width) + "\" height=\"" + std::to_string(view.height) +
         '"';
  out += " role=\"img\" aria-labelledby=\"" + titleId + "\"";
  out += " font-family=\"Arial, 'Liberation Sans', Helvetica, sans-serif\"";
  out += " xml:space=\"preserve\" style=\"white-space:pre\">";
  out += "<title id=\"" + titleId + "\">";
  AppendEscaped(out, title);
  out += "</title>";

  std::vector<Colour> backgrounds;
  for (int i = 0; i < list.count; ++i) {
    const DrawOp& op = list.ops[i];
    if (op.kind == DrawKind::kText && op.opaque &&
        std::find(backgrounds.begin(), backgrounds.end(), op.fill) == backgrounds.end()) {
      backgrounds.push_back(op.fill);
    }
  }
  if (!backgrounds.empty()) {
    out += "<defs>";
    for (const Colour c : backgrounds) {
      out += "<filter id=\"" + BackgroundId(idPrefix, c) +
             "\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"><feFlood flood-color=\"" + SvgColour(c) +
             "\"/><feComposite in=\"SourceGraphic\"/></filter>";
    }
    out += "</defs>";
  }

  for (int i = 0; i < list.count;) {
    const DrawOp& op = list.ops[i];
    switch (op.kind) {
      case DrawKind::kLine:
        i = AppendLines(out, list, i);
        continue;
      case DrawKind::kText:
        AppendText(out, list, op, idPrefix);
        break;
      case DrawKind::kFill:
      case DrawKind::kRectangle:
      case DrawKind::kEllipse:
        AppendBox(out, op);
        break;
    }
    ++i;
  }
  out += "</svg>";
}

}  // namespace zarvo
