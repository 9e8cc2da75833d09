// The display settings of the main window and its results table (colours, fonts, column widths)
// and their file, "Private/RéglagesAffichage.rgsc" or a user's ".scrn" display file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/colour.h"

namespace zarvo {

constexpr int kColumnCount = 9;        // Lane, Driver, Laps, Total time, Lap time, Best lap,
                                       // Worst lap, Average lap, Transp.
constexpr int kFontSlotCount = 12;     // run caption, event line, headings, the nine columns
constexpr int kColourSlotCount = 13;
constexpr int kCustomColourCount = 16;
constexpr int kFaceNameCapacity = 32;  // terminator included
constexpr int32_t kMaxColumnWidth = 999;

// The settings file of the program folder; display files carry the extension ".scrn".
constexpr const char kDisplaySettingsFile[] = "Private/RéglagesAffichage.rgsc";
constexpr const char kDisplayFileExtension[] = ".scrn";

// Font slots.
enum FontSlot {
  kFontRunCaption = 0,
  kFontEventLine = 1,
  kFontHeadings = 2,
  kFontFirstColumn = 3,  // column k uses slot 3 + k, and the text colour of the same slot
};

// Colour slots.
enum ColourSlot {
  kColourWindow = 0,         // main window background
  kColourTree = 1,           // session tree background
  kColourTable = 2,          // results table background
  kColourRunCaption = 3,     // background of the run caption
  kColourEventLine = 4,      // background of the event line (radio conflict)
  kColourPassage = 5,        // Lane cell of a car that just passed
  kColourRunBest = 6,        // best lap of the run
  kColourDriverBest = 7,     // a driver's new best lap
  kColourHeadingTop = 8,     // heading band gradient
  kColourHeadingBottom = 9,
  kColourRowsTop = 10,       // rows gradient
  kColourRowsBottom = 11,
  kColourGrid = 12,          // grid lines of the table
};

// Table styles.
constexpr int32_t kStyleGradient = 0;  // one gradient over all rows
constexpr int32_t kStyleRelief = 1;    // each row shaded by its own gradient

// A font as the platform's font chooser gives it.
struct FontSpec {
  char faceName[kFaceNameCapacity];
  int32_t size;       // font height; negative for a character height. Scaled by screen width/1600
  int32_t weight;     // 0 to 1000, 700 = bold
  int32_t italic;     // 0 or 1
  int32_t underline;  // 0 or 1
  int32_t strikeOut;  // 0 or 1
};

struct DisplaySettings {
  int32_t tableStyle;                  // kStyleRelief or kStyleGradient
  int32_t columnWidths[kColumnCount];  // width units (1/1600 of the screen width), 0 to 999
  FontSpec fonts[kFontSlotCount];
  Colour textColours[kFontSlotCount];  // text colour of each font slot
  Colour colours[kColourSlotCount];
};

// The custom colours of the platform's colour chooser, stored with the settings.
struct CustomColours {
  Colour colours[kCustomColourCount];
};

// What reading a display file gave.
enum class DisplayFileRead {
  kCannotOpen,  // the file cannot be opened: nothing changed
  kDamaged,     // a value is missing or is not a number: nothing changed
  kRead,        // every value was read
};

// Empties the twelve face names (the readers fill face names that the caller has emptied).
void ClearFaceNames(DisplaySettings& settings);

// The bytes of a display file: 11 lines, every value followed by a tab, lines ended by CR LF.
std::string FormatDisplaySettings(const DisplaySettings& settings, const CustomColours& custom);

// Reads the bytes of a display file. Each line holds exactly its count of values, each followed
// by a tab (or another blank); lines end with CR LF or LF, the last one may end with the file;
// the rest of line 1 is ignored. A face name is the bytes up to the next tab, cut to 31 bytes.
// Column widths outside 0..999 are brought into that range. All or nothing: unless every value
// is there, settings and custom are left as they were and kDamaged is returned.
DisplayFileRead ParseDisplaySettings(std::string_view bytes, DisplaySettings& settings,
                                     CustomColours& custom);

// The settings shipped with the program: what the display options show when their file cannot be
// read, so that "Ok" gives the table its colours, fonts and widths back.
void DefaultDisplaySettings(DisplaySettings& settings, CustomColours& custom);

// Reads the display file at path (Windows-1252, relative to the program folder).
DisplayFileRead ReadDisplaySettings(const char* path, DisplaySettings& settings,
                                    CustomColours& custom);

// Replaces the display file at path; false when it cannot be created or written.
bool WriteDisplaySettings(const char* path, const DisplaySettings& settings,
                          const CustomColours& custom);

}  // namespace zarvo
