// The live results table drawn with GDI. Each step creates its own fonts, pens and brushes
// through holders that deselect and delete them when the step ends.
#include "display/results_painter_win32.h"

#include <algorithm>
#include <cstring>

#include "text/catalogue.h"

namespace zarvo {

namespace {

// Owns a GDI object and deletes it. Declare it before the Selected that selects it, so that the
// object is deselected first and then deleted.
template <typename Handle>
class GdiHolder {
 public:
  GdiHolder() : handle_(nullptr) {}
  explicit GdiHolder(Handle handle) : handle_(handle) {}
  ~GdiHolder() { reset(nullptr); }
  void reset(Handle handle) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }
  GdiHolder(const GdiHolder&) = delete;
  GdiHolder& operator=(const GdiHolder&) = delete;
  Handle get() const { return handle_; }

 private:
  Handle handle_;
};

// Selects an object into the device context and puts the previous one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Restores the text alignment, colours and background mode the caller had.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

HFONT SlotFont(const FontSpec& slot, int screenWidth, bool withEffects) {
  LOGFONTA lf = {};
  lf.lfHeight = FontHeight(slot.size, screenWidth);
  lf.lfWeight = slot.weight;
  lf.lfItalic = slot.italic != 0;
  if (withEffects) {
    lf.lfUnderline = slot.underline != 0;
    lf.lfStrikeOut = slot.strikeOut != 0;
  }
  std::memcpy(lf.lfFaceName, slot.faceName,
              strnlen(slot.faceName, std::min<size_t>(sizeof lf.lfFaceName, kFaceNameCapacity) - 1));
  return CreateFontIndirectA(&lf);
}

// "Arial Black" (watermark, markers, clock strip) and "Arial" (seconds): no weight set.
HFONT FixedFont(const char* face, int height) {
  LOGFONTA lf = {};
  lf.lfHeight = height;
  std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
  return CreateFontIndirectA(&lf);
}

void FillSolid(HDC dc, int left, int top, int right, int bottom, Colour colour) {
  GdiHolder<HBRUSH> brush(CreateSolidBrush(colour));
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush.get());
}

void FillSolid(HDC dc, const LayoutRect& r, Colour colour) {
  FillSolid(dc, r.left, r.top, r.right, r.bottom, colour);
}

// A vertical gradient, one solid 1-pixel line per row of pixels.
void FillGradient(HDC dc, int left, int top, int right, int bottom, Colour from, Colour to) {
  const int lines = bottom - top;
  for (int n = 0; n < lines; ++n) {
    FillSolid(dc, left, top + n, right, top + n + 1, GradientLineColour(from, to, n, lines));
  }
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

UINT HorizontalAlign(TextAlign align) {
  switch (align) {
    case TextAlign::kLeft:
      return TA_LEFT;
    case TextAlign::kCentre:
      return TA_CENTER;
    case TextAlign::kRight:
      return TA_RIGHT;
  }
  return TA_LEFT;
}

void Text(HDC dc, int x, int y, UINT align, const char* text) {
  SetTextAlign(dc, align);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// Draws text transparently, or opaque on a background colour.
void TextOn(HDC dc, int x, int y, UINT align, const char* text, const Colour* background) {
  if (background != nullptr) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, *background);
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  Text(dc, x, y, align, text);
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
  if (bitmap == nullptr) return;
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
             DST_BITMAP);
}

const char* HeadingText(int column) {
  static const char* const kHeadings[kColumnCount] = {
      TXT_HEADING_LANE,     TXT_HEADING_DRIVER,   TXT_HEADING_LAPS,
      TXT_HEADING_TOTAL_TIME, TXT_HEADING_LAP_TIME, TXT_HEADING_BEST_LAP,
      TXT_HEADING_WORST_LAP, TXT_HEADING_AVERAGE_LAP, TXT_HEADING_TRANSPONDER};
  return kHeadings[column];
}

const char* CellText(const ResultsRow& row, int column) {
  switch (column) {
    case 0:
      return row.slotText;
    case 1:
      return row.driverName;
    case 2:
      return row.lapsText;
    case 3:
      return row.totalText;
    case 4:
      return row.lastLapText;
    case 5:
      return row.bestLapText;
    case 6:
      return row.worstLapText;
    case 7:
      return row.averageLapText;
    default:
      return row.transponder;
  }
}

// A copy of a fixed-capacity text, cut at its capacity even if the row lost its terminator.
template <size_t N>
struct BoundedText {
  explicit BoundedText(const char* text, size_t capacity) {
    const size_t n = strnlen(text, std::min(capacity, N) - 1);
    std::memcpy(bytes, text, n);
    bytes[n] = '\0';
  }
  char bytes[N];
};

size_t CellCapacity(int column) {
  switch (column) {
    case 0:
      return sizeof(ResultsRow::slotText);
    case 1:
      return sizeof(ResultsRow::driverName);
    case 2:
      return sizeof(ResultsRow::lapsText);
    case 8:
      return sizeof(ResultsRow::transponder);
    default:
      return kTimeTextCapacity;
  }
}

}  // namespace

void PaintResultsTable(HDC dc, const ResultsPaintInputs& in) {
  const DisplaySettings& s = *in.settings;
  TableMetrics m = in.metrics;
  m.visibleRows = std::max(0, std::min(m.visibleRows, kMaxVisibleRows));
  const ResultsLayout l = ComputeResultsLayout(m);
  const int z = m.screenWidth;
  const int y = m.screenHeight;
  const int rows = m.visibleRows;
  const int rowHeight = m.rowHeight;
  SavedDcState state(dc);

  // 1. The bitmaps of this paint; the logo in the window's top-left corner.
  GdiHolder<HBITMAP> flag(static_cast<HBITMAP>(
      LoadImageA(nullptr, kFinishFlagBitmap, IMAGE_BITMAP, z / 64, 16, LR_LOADFROMFILE)));
  GdiHolder<HBITMAP> logo(
      static_cast<HBITMAP>(LoadImageA(nullptr, kLogoBitmap, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  DrawBitmap(dc, logo.get(), 4, 2, 196, 50);

  // 2. Table background.
  FillSolid(dc, l.tableArea, s.colours[kColourTable]);

  // 3. Watermark, covered later by the headings and rows.
  {
    GdiHolder<HFONT> font(FixedFont("Arial Black", (l.tableArea.right - l.tableArea.left) / 9));
    Selected selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, WatermarkColour(s.colours[kColourTable]));
    const int centre = (l.tableArea.left + l.tableArea.right) / 2;
    Text(dc, centre, HeightUnits(170, y), TA_CENTER | TA_TOP, TXT_WATERMARK_NAME);
    Text(dc, centre, y / 3, TA_CENTER | TA_TOP, TXT_WATERMARK_VERSION);
  }

  // 4. Heading band and marker column.
  const Colour headingTop = s.colours[kColourHeadingTop];
  const Colour headingBottom = s.colours[kColourHeadingBottom];
  if (headingTop == headingBottom) {
    FillSolid(dc, l.headingBand, headingTop);
    FillSolid(dc, l.markerColumn, kMarkerFlatColour);
  } else {
    FillGradient(dc, l.headingBand.left, l.headingBand.top, l.headingBand.right,
                 l.headingBand.bottom, headingTop, headingBottom);
    const int band = RowBandHeight(l.markerColumn, rows);
    for (int i = 0; i < rows; ++i) {
      const int top = l.markerColumn.top + HeightUnits(int64_t(i) * rowHeight, y);
      for (int n = 0; n < band; ++n) {
        FillSolid(dc, l.markerColumn.left, top + n, l.markerColumn.right, top + n + 1,
                  MarkerShadeColour(n, band));
      }
    }
  }

  // 5. Rows background.
  const Colour rowsTop = s.colours[kColourRowsTop];
  const Colour rowsBottom = s.colours[kColourRowsBottom];
  if (rowsTop == rowsBottom) {
    FillSolid(dc, l.rowsArea, rowsTop);
  } else if (s.tableStyle == kStyleGradient) {
    FillGradient(dc, l.rowsArea.left, l.rowsArea.top, l.rowsArea.right, l.rowsArea.bottom,
                 rowsTop, rowsBottom);
  } else if (s.tableStyle == kStyleRelief && rows > 0) {
    const int band = RowBandHeight(l.rowsArea, rows);
    for (int i = 0; i < rows; ++i) {
      const int top = l.rowsArea.top + HeightUnits(int64_t(i) * rowHeight, y);
      FillGradient(dc, l.rowsArea.left, top, l.rowsArea.right, top + band, rowsTop, rowsBottom);
    }
  }

  // 6. Outer frame.
  {
    GdiHolder<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    Selected selected(dc, pen.get());
    const LayoutRect& a = l.tableArea;
    Line(dc, a.left, a.top + 1, a.right - 1, a.top + 1);
    Line(dc, a.left, a.bottom - 1, a.right - 1, a.bottom - 1);
    Line(dc, a.left, a.top + 1, a.left, a.bottom - 1);
    Line(dc, a.right - 1, a.top + 1, a.right - 1, a.bottom - 1);
  }

  // 7. Grid, 2 pixels: heading band outline, marker and rows edges, the row separators.
  {
    GdiHolder<HPEN> pen(CreatePen(PS_SOLID, 2, s.colours[kColourGrid]));
    Selected selected(dc, pen.get());
    const LayoutRect& h = l.headingBand;
    Line(dc, h.left, h.top, h.right, h.top);
    Line(dc, h.left, h.bottom, h.right, h.bottom);
    Line(dc, h.left, h.top - 1, h.left, h.bottom);
    Line(dc, h.right, h.top, h.right, h.bottom);
    Line(dc, l.markerColumn.left, l.markerColumn.top, l.markerColumn.left, l.markerColumn.bottom);
    Line(dc, l.rowsArea.right, l.rowsArea.top, l.rowsArea.right, l.rowsArea.bottom);
    for (int i = 1; i <= rows; ++i) {
      const int lineY = RowLineY(m, l, i);
      Line(dc, l.markerColumn.left, lineY, l.rowsArea.right, lineY);
    }
  }

  // 8. Grid, 1 pixel: column separators of the headings and of the rows.
  {
    GdiHolder<HPEN> pen(CreatePen(PS_SOLID, 1, s.colours[kColourGrid]));
    Selected selected(dc, pen.get());
    const LayoutRect& h = l.headingBand;
    Line(dc, HeadingFirstGridX(m, l), h.top, HeadingFirstGridX(m, l), h.bottom);
    for (int k = 0; k < kColumnCount; ++k) {
      Line(dc, HeadingGridX(m, l, k), h.top, HeadingGridX(m, l, k), h.bottom);
    }
    const int rowsEnd = RowLineY(m, l, rows);
    for (int k = -1; k < kColumnCount - 1; ++k) {
      Line(dc, RowsGridX(m, l, k), l.rowsArea.top, RowsGridX(m, l, k), rowsEnd);
    }
    const int last = RowsGridX(m, l, kColumnCount - 1);
    Line(dc, last, l.rowsArea.top, last, l.rowsArea.bottom);
  }

  // 9. Run caption.
  {
    GdiHolder<HFONT> font(SlotFont(s.fonts[kFontRunCaption], z, true));
    Selected selected(dc, font.get());
    SetTextColor(dc, s.textColours[kFontRunCaption]);
    const Colour background = s.colours[kColourRunCaption];
    TextOn(dc, z / 80 + 200, y / 45, TA_LEFT | TA_TOP,
           in.runCaption != nullptr ? in.runCaption : "", &background);
  }

  // 10. Headings.
  {
    GdiHolder<HFONT> font(SlotFont(s.fonts[kFontHeadings], z, true));
    Selected selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, s.textColours[kFontHeadings]);
    const int top = HeadingTextTop(m);
    Text(dc, ResHeadingX(m, l), top, TA_CENTER | TA_TOP, TXT_HEADING_MARKERS);
    for (int k = 0; k < kColumnCount; ++k) {
      if (!ColumnVisible(m, k)) continue;
      Text(dc, HeadingX(m, l, k), top, HorizontalAlign(ColumnAlignment(k)) | TA_TOP,
           HeadingText(k));
    }
    Text(dc, FinHeadingX(m, l), top, TA_CENTER | TA_TOP, TXT_HEADING_FINISHED);
  }

  // 11. Cells, row by row; the markers between the Lane and Driver columns.
  if (in.rows != nullptr && rows > 0) {
    GdiHolder<HFONT> columnFonts[kColumnCount];
    for (int k = 0; k < kColumnCount; ++k) {
      columnFonts[k].reset(SlotFont(s.fonts[kFontFirstColumn + k], z, true));
    }
    GdiHolder<HFONT> markerFont(FixedFont("Arial Black", z / 80));
    // Puts the caller's font back before the holders above delete the fonts.
    Selected keep(dc, markerFont.get());
    for (int i = 0; i < rows; ++i) {
      const int index = in.firstVisibleRow + i;
      if (index < 0 || index >= kSlotCount) break;
      const ResultsRow& row = in.rows[index];
      const int top = RowTextTop(m, l, i);
      for (int k = 0; k < kColumnCount; ++k) {
        if (ColumnVisible(m, k)) {
          SelectObject(dc, columnFonts[k].get());
          SetTextColor(dc, s.textColours[kFontFirstColumn + k]);
          const Colour* background = nullptr;
          if (k == 0 && row.lapRecorded) background = &s.colours[kColourPassage];
          if (k == 5 && row.runBestHolder) {
            background = &s.colours[kColourRunBest];
          } else if (k == 5 && row.newBest) {
            background = &s.colours[kColourDriverBest];
          }
          const BoundedText<kDriverNameCapacity> text(CellText(row, k), CellCapacity(k));
          TextOn(dc, CellX(m, l, k), top, HorizontalAlign(ColumnAlignment(k)) | TA_TOP,
                 text.bytes, background);
        }
        if (k == 0) {
          SelectObject(dc, markerFont.get());
          SetTextColor(dc, RGB(0, 0, 0));
          const BoundedText<sizeof(ResultsRow::marker)> marker(row.marker, sizeof row.marker);
          TextOn(dc, MarkerTextX(m, l), MarkerTextTop(m, l, i), TA_CENTER | TA_TOP,
                 marker.bytes, nullptr);
        }
      }
    }
  }

  // 12. Finish flags.
  if (in.rows != nullptr) {
    for (int i = 0; i < rows; ++i) {
      const int index = in.firstVisibleRow + i;
      if (index < 0 || index >= kSlotCount) break;
      if (in.rows[index].finished) {
        DrawBitmap(dc, flag.get(), FinishFlagX(m, l), RowTextTop(m, l, i), z / 64, 16);
      }
    }
  }

  // 13. Countdown seconds.
  {
    GdiHolder<HFONT> font(FixedFont("Arial", 30));
    Selected selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, WidthUnits(440, z) + 310, HeightUnits(735, y), TA_RIGHT | TA_TOP,
         in.secondsText != nullptr ? in.secondsText : "");
  }

  // 14. Clock strip: race length, remaining time, elapsed time.
  {
    GdiHolder<HFONT> font(FixedFont("Arial Black", WidthUnits(35, z)));
    Selected selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    const int top = HeightUnits(740, y);
    SetTextColor(dc, RGB(0, 0, 0));
    Text(dc, WidthUnits(185, z) + 200, top, TA_RIGHT | TA_TOP,
         in.durationText != nullptr ? in.durationText : "");
    SetTextColor(dc, RGB(0, 150, 0));
    Text(dc, WidthUnits(310, z) + 200, top, TA_RIGHT | TA_TOP,
         in.remainingText != nullptr ? in.remainingText : "");
    SetTextColor(dc, RGB(150, 0, 0));
    Text(dc, WidthUnits(435, z) + 200, top, TA_RIGHT | TA_TOP,
         in.elapsedText != nullptr ? in.elapsedText : "");
  }

  // 15. Event line.
  {
    GdiHolder<HFONT> font(SlotFont(s.fonts[kFontEventLine], z, true));
    Selected selected(dc, font.get());
    SetTextColor(dc, s.textColours[kFontEventLine]);
    const Colour background = s.colours[kColourEventLine];
    TextOn(dc, l.eventLine.left + 1, l.eventLine.bottom - 1, TA_LEFT | TA_BOTTOM,
           in.radioConflict ? TXT_RADIO_CONFLICT : "", &background);
  }
  // 16. The holders release the bitmaps, fonts, pens and brushes; the state is restored.
}

void MeasureColumnTextHeights(HDC dc, const DisplaySettings& settings, int screenWidth,
                              int (&heights)[kColumnCount]) {
  for (int k = 0; k < kColumnCount; ++k) {
    heights[k] = 0;
    GdiHolder<HFONT> font(SlotFont(settings.fonts[kFontFirstColumn + k], screenWidth, false));
    if (font.get() == nullptr) continue;
    Selected selected(dc, font.get());
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) heights[k] = metrics.tmHeight;
  }
}

RowFit FitVisibleRows(HWND window, const DisplaySettings& settings, int participantCount,
                      int screenWidth, int screenHeight) {
  int heights[kColumnCount] = {};
  const HDC dc = GetDC(window);
  if (dc != nullptr) {
    MeasureColumnTextHeights(dc, settings, screenWidth, heights);
    ReleaseDC(window, dc);
  }
  return FitVisibleRows(heights, participantCount, screenWidth, screenHeight);
}

}  // namespace zarvo
