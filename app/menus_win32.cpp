// Builds the menus with the wide calls (the texts are Windows-1252) and gives the items their
// bitmaps for the unchecked and the checked state.
#include "app/menus_win32.h"

#include <string>

#include "platform/codepage.h"
#include "resources/resource_ids.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* text) {
  const std::u16string utf16 = Cp1252ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

HBITMAP MenuBitmap(HINSTANCE instance, int id) {
  return static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
}

void Append(HMENU menu, const MenuEntry& entry, HINSTANCE instance, HBITMAP checked) {
  if (entry.id == 0) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), Wide(entry.text).c_str());
  if (entry.bitmap != 0) {
    SetMenuItemBitmaps(menu, static_cast<UINT>(entry.id), MF_BYCOMMAND,
                       MenuBitmap(instance, entry.bitmap), checked);
  }
}

}  // namespace

MainMenus BuildMainMenus(HINSTANCE instance) {
  MainMenus menus;
  const HBITMAP checked = MenuBitmap(instance, MenuCheckedBitmap());
  menus.bar = CreateMenu();
  for (int m = 0; m < kMenuBarMenuCount; ++m) {
    const MenuDescription& description = MenuBarMenu(m);
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < description.entryCount; ++i) {
      Append(menu, description.entries[i], instance, checked);
    }
    AppendMenuW(menus.bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu),
                Wide(description.title).c_str());
  }
  for (int p = 0; p < kPopupMenuCount; ++p) {
    menus.popups[p] = CreatePopupMenu();
    Append(menus.popups[p], PopupMenuEntry(p), instance, checked);
  }
  menus.runPopup = CreatePopupMenu();
  Append(menus.runPopup, PopupMenuEntry(IDM_ADD_RUN - IDM_RENAME_SESSION), instance, checked);
  Append(menus.runPopup, RunPopupExportEntry(), instance, checked);
  return menus;
}

HMENU PopupMenuOf(const MainMenus& menus, int commandId) {
  if (commandId == IDM_EXPORT_RUN) return menus.runPopup;
  const int index = commandId - IDM_RENAME_SESSION;
  if (index < 0 || index >= kPopupMenuCount) return nullptr;
  return menus.popups[index];
}

}  // namespace zarvo
