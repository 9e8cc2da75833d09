// The menu bar and the session tree's pop-up menus, item by item.
#include "app/menu_bar.h"

#include "resources/resource_ids.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

constexpr MenuEntry kSeparator = {0, nullptr, 0};

const MenuEntry kFileEntries[] = {
    {IDM_NEW_SESSION, TXT_MENU_NEW_SESSION, IDB_MENU_NEW},
    {IDM_LOAD_SESSION, TXT_MENU_LOAD_SESSION, 0},
    kSeparator,
    {IDM_SAVE, TXT_MENU_SAVE, IDB_MENU_SAVE},
    {IDM_SAVE_AS, TXT_MENU_SAVE_AS, 0},
    kSeparator,
    kSeparator,
    {IDM_IMPORT_SMARTPHONE, TXT_MENU_IMPORT_SMARTPHONE, IDB_MENU_IMPORT},
    {IDM_EXPORT_SESSION, TXT_MENU_EXPORT_SESSION, 0},
    kSeparator,
    kSeparator,
    {IDM_QUIT, TXT_MENU_QUIT, IDB_MENU_QUIT},
};

const MenuEntry kDatabaseEntries[] = {
    {IDM_CIRCUITS, TXT_MENU_CIRCUITS, IDB_MENU_CIRCUITS},
    kSeparator,
    {IDM_DRIVERS, TXT_MENU_DRIVERS, IDB_MENU_DRIVERS},
    kSeparator,
    {IDM_CARS, TXT_MENU_CARS, IDB_MENU_CARS},
    kSeparator,
    {IDM_FREQUENCIES, TXT_MENU_FREQUENCIES, IDB_MENU_FREQUENCIES},
    kSeparator,
    kSeparator,
    {IDM_RUNS_SYNTHESIS, TXT_MENU_RUNS_SYNTHESIS, IDB_MENU_RUNS},
    kSeparator,
};

const MenuEntry kSettingsEntries[] = {
    {IDM_SOUND, TXT_MENU_SOUND, IDB_MENU_SOUND},
    {IDM_LAP_CALLOUTS, TXT_MENU_LAP_CALLOUTS, 0},
    {IDM_DISPLAY, TXT_MENU_DISPLAY, IDB_MENU_DISPLAY},
    {IDM_LIVE_RESULTS, TXT_MENU_LIVE_RESULTS, 0},
    {IDM_INTERFACE, TXT_MENU_INTERFACE, IDB_MENU_INTERFACE},
};

const MenuEntry kHelpEntries[] = {
    {IDM_HELP, TXT_MENU_HELP, 0},
};

template <int N>
constexpr MenuDescription Describe(const char* title, const MenuEntry (&entries)[N]) {
  return MenuDescription{title, entries, N};
}

const MenuDescription kMenuBar[kMenuBarMenuCount] = {
    Describe(TXT_MENU_FILE, kFileEntries),
    Describe(TXT_MENU_DATABASE, kDatabaseEntries),
    Describe(TXT_MENU_SETTINGS, kSettingsEntries),
    Describe(TXT_MENU_HELP_TITLE, kHelpEntries),
};

const MenuEntry kPopupEntries[kPopupMenuCount] = {
    {IDM_RENAME_SESSION, TXT_MENU_RENAME_SESSION, 0},
    {IDM_TRACK, TXT_MENU_TRACK, 0},
    {IDM_PARTICIPANTS, TXT_MENU_PARTICIPANTS, 0},
    {IDM_RUN_PARAMETERS, TXT_MENU_RUN_PARAMETERS, 0},
    {IDM_ADD_RUN, TXT_MENU_ADD_RUN, 0},
};

const MenuEntry kRunPopupExport = {IDM_EXPORT_RUN, TXT_MENU_EXPORT_RUN, 0};

}  // namespace

const MenuDescription& MenuBarMenu(int index) {
  return kMenuBar[index];
}

int MenuCheckedBitmap() {
  return IDB_START;
}

const MenuEntry& PopupMenuEntry(int index) {
  return kPopupEntries[index];
}

const MenuEntry& RunPopupExportEntry() {
  return kRunPopupExport;
}

}  // namespace zarvo
