// The drawing-list replayer with GDI. Objects are cached for the length of one replay: a list of
// a few hundred primitives uses a handful of fonts, pens and brushes.
#include "ui/drawing_win32.h"

#include <cstring>

namespace zarvo {

namespace {

template <typename Key, typename Handle, int N>
class GdiCache {
 public:
  ~GdiCache() {
    for (int i = 0; i < count_; ++i) DeleteObject(handles_[i]);
  }
  template <typename Make>
  Handle Get(const Key& key, Make make) {
    for (int i = 0; i < count_; ++i) {
      if (keys_[i] == key) return handles_[i];
    }
    Handle h = make(key);
    if (h == nullptr) return nullptr;
    if (count_ == N) {  // never with the lists the views build; keep the newest
      DeleteObject(handles_[N - 1]);
      --count_;
    }
    keys_[count_] = key;
    handles_[count_] = h;
    ++count_;
    return h;
  }

 private:
  Key keys_[N];
  Handle handles_[N];
  int count_ = 0;
};

struct PenKey {
  Colour colour;
  int width;
  bool operator==(const PenKey& o) const { return colour == o.colour && width == o.width; }
};

HFONT MakeFont(const DrawFont& f) {
  LOGFONTA lf = {};
  lf.lfHeight = f.height;
  lf.lfWeight = f.weight;
  lf.lfUnderline = f.underline ? TRUE : FALSE;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  std::strcpy(lf.lfFaceName, "Arial");
  return CreateFontIndirectA(&lf);
}

UINT AlignFlags(TextAlign align) {
  switch (align) {
    case TextAlign::kRight:
      return TA_RIGHT | TA_TOP | TA_NOUPDATECP;
    case TextAlign::kCentre:
      return TA_CENTER | TA_TOP | TA_NOUPDATECP;
    case TextAlign::kLeft:
      break;
  }
  return TA_LEFT | TA_TOP | TA_NOUPDATECP;
}

}  // namespace

void ReplayDrawList(HDC dc, const DrawList& list) {
  const int saved = SaveDC(dc);
  {
    GdiCache<DrawFont, HFONT, 16> fonts;
    GdiCache<PenKey, HPEN, 16> pens;
    GdiCache<Colour, HBRUSH, 16> brushes;
    auto pen = [&](Colour c, int width) {
      return pens.Get(PenKey{c, width < 1 ? 1 : width},
                      [](const PenKey& k) { return CreatePen(PS_SOLID, k.width, k.colour); });
    };
    auto brush = [&](Colour c) {
      return brushes.Get(c, [](const Colour& k) { return CreateSolidBrush(k); });
    };
    for (int i = 0; i < list.count; ++i) {
      const DrawOp& op = list.ops[i];
      switch (op.kind) {
        case DrawKind::kFill: {
          RECT r = {op.x1, op.y1, op.x2, op.y2};
          FillRect(dc, &r, brush(op.fill));
          break;
        }
        case DrawKind::kRectangle:
        case DrawKind::kEllipse:
          SelectObject(dc, pen(op.colour, op.penWidth));
          SelectObject(dc, op.hollow ? GetStockObject(NULL_BRUSH) : brush(op.fill));
          if (op.kind == DrawKind::kRectangle) {
            ::Rectangle(dc, op.x1, op.y1, op.x2, op.y2);
          } else {
            ::Ellipse(dc, op.x1, op.y1, op.x2, op.y2);
          }
          break;
        case DrawKind::kLine:
          SelectObject(dc, pen(op.colour, op.penWidth));
          MoveToEx(dc, op.x1, op.y1, nullptr);
          LineTo(dc, op.x2, op.y2);
          break;
        case DrawKind::kText: {
          SelectObject(dc, fonts.Get(op.font, MakeFont));
          SetTextAlign(dc, AlignFlags(op.align));
          SetTextColor(dc, op.colour);
          SetBkMode(dc, op.opaque ? OPAQUE : TRANSPARENT);
          if (op.opaque) SetBkColor(dc, op.fill);
          const std::string_view s = list.TextOf(op);
          TextOutA(dc, op.x1, op.y1, s.data(), static_cast<int>(s.size()));
          break;
        }
      }
    }
    // Put the caller's objects back before the caches delete theirs.
    RestoreDC(dc, saved);
  }
}

}  // namespace zarvo
