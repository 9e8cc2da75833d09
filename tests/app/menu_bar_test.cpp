// The menus of the main window: every command once, the separators of the Database menu, the
// bitmaps of the items that carry one, and every item race control greys during a run.
#include "app/menu_bar.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/resource_ids.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

// "id" for an item, "-" for a separator, in menu order.
std::string Shape(const MenuDescription& menu) {
  std::string out;
  for (int i = 0; i < menu.entryCount; ++i) {
    const MenuEntry& e = menu.entries[i];
    out += e.id == 0 ? "-" : std::to_string(e.id);
    out += " ";
  }
  return out;
}

TEST(MenuBar, FileMenuSeparatesSavingAndImportAndQuitWithTheirSeparators) {
  EXPECT_EQ(Shape(MenuBarMenu(0)), "1001 1002 - 1003 1004 - - 1005 1019 - - 1006 ");
  EXPECT_STREQ(MenuBarMenu(0).title, TXT_MENU_FILE);
}

TEST(MenuBar, EveryDatabaseItemIsFollowedByASeparatorAndFrequenciesByTwo) {
  EXPECT_EQ(Shape(MenuBarMenu(1)), "1007 - 1008 - 1009 - 1010 - - 1011 - ");
}

TEST(MenuBar, SettingsAndHelpHoldTheirCommands) {
  EXPECT_EQ(Shape(MenuBarMenu(2)), "1012 1018 1013 1017 1014 ");
  EXPECT_EQ(Shape(MenuBarMenu(3)), "1016 ");
}

TEST(MenuBar, BitmapsGoToNewSaveImportQuitAndEveryDatabaseAndSettingsItem) {
  std::set<int> withBitmap;
  std::set<int> bitmaps;
  for (int m = 0; m < kMenuBarMenuCount; ++m) {
    const MenuDescription& menu = MenuBarMenu(m);
    for (int i = 0; i < menu.entryCount; ++i) {
      if (menu.entries[i].bitmap != 0) {
        withBitmap.insert(menu.entries[i].id);
        bitmaps.insert(menu.entries[i].bitmap);
      }
    }
  }
  EXPECT_EQ(withBitmap, (std::set<int>{1001, 1003, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012,
                                       1013, 1014}));
  EXPECT_EQ(bitmaps, (std::set<int>{5, 6, 21, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(MenuCheckedBitmap(), 2);
}

TEST(MenuBar, EveryItemHasATextAndNoCommandAppearsTwice) {
  std::set<int> ids;
  int count = 0;
  for (int m = 0; m < kMenuBarMenuCount; ++m) {
    const MenuDescription& menu = MenuBarMenu(m);
    for (int i = 0; i < menu.entryCount; ++i) {
      const MenuEntry& e = menu.entries[i];
      if (e.id == 0) continue;
      ASSERT_NE(e.text, nullptr) << e.id;
      EXPECT_GT(std::string(e.text).size(), 0u) << e.id;
      ids.insert(e.id);
      ++count;
    }
  }
  for (int p = 0; p < kPopupMenuCount; ++p) {
    ids.insert(PopupMenuEntry(p).id);
    ++count;
  }
  EXPECT_EQ(static_cast<int>(ids.size()), count);
}

TEST(PopupMenus, OneItemEachForCommands1051To1055) {
  for (int p = 0; p < kPopupMenuCount; ++p) {
    EXPECT_EQ(PopupMenuEntry(p).id, IDM_RENAME_SESSION + p);
    EXPECT_EQ(PopupMenuEntry(p).bitmap, 0);
  }
  EXPECT_STREQ(PopupMenuEntry(4).text, TXT_MENU_ADD_RUN);
}

TEST(PopupMenus, ARunsMenuAddsTheExportAfterAddARun) {
  EXPECT_EQ(RunPopupExportEntry().id, IDM_EXPORT_RUN);
  EXPECT_STREQ(RunPopupExportEntry().text, TXT_MENU_EXPORT_RUN);
  EXPECT_EQ(RunPopupExportEntry().bitmap, 0);
}

}  // namespace
}  // namespace zarvo
