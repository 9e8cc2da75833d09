// The menus of the main window as data: the menu bar with its items, separators and bitmaps, and
// the five one-item pop-up menus of the session tree. The Win32 shell builds the real menus from
// these tables; texts are the edition's.
#pragma once

namespace zarvo {

struct MenuEntry {
  int id;            // command id; 0 for a separator
  const char* text;  // nullptr for a separator
  int bitmap;        // bitmap resource of the unchecked state; 0 for none
};

struct MenuDescription {
  const char* title;
  const MenuEntry* entries;
  int entryCount;
};

constexpr int kMenuBarMenuCount = 4;
constexpr int kPopupMenuCount = 5;

// File, Database, Settings and "?", in this order.
const MenuDescription& MenuBarMenu(int index);
// The bitmap of the checked state of every item that carries bitmaps.
int MenuCheckedBitmap();
// The pop-up menu of the session tree for commands 1051 to 1055 (one item each).
const MenuEntry& PopupMenuEntry(int index);
// A run of the session tree has the pop-up menu of command 1056: "Add a run" (1055), then this.
const MenuEntry& RunPopupExportEntry();

}  // namespace zarvo
