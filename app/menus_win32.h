// The real menus of the main window, built from the tables of app/menu_bar.h.
#pragma once

#include <windows.h>

#include "app/menu_bar.h"

namespace zarvo {

struct MainMenus {
  HMENU bar = nullptr;
  HMENU popups[kPopupMenuCount] = {};  // for commands 1051 to 1055
  HMENU runPopup = nullptr;            // a run's: "Add a run", "Export run…" (command 1056)
};

// The menu bar with its items, separators and bitmaps, and the five one-item pop-up menus.
MainMenus BuildMainMenus(HINSTANCE instance);

// The pop-up menu of commandId (1051 to 1056), or nullptr.
HMENU PopupMenuOf(const MainMenus& menus, int commandId);

}  // namespace zarvo
