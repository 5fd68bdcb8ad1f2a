// The entry points the extended tables' screens fill.
#include <gtest/gtest.h>

#include "model/ExtendedTables.h"
#include "app/MainFrame.h"
#include "editor/NewBlockExView.h"
#include "res/TablesResource.h"
#include "tables/RecipeDlg.h"
#include "model/TableResets.h"
#include "app/TableScreens.h"
#include "HeadlessUi.h"

namespace {

TEST(TableScreens, EachEntryPointRunsItsDialog) {
    testsupport::HeadlessUi ui;
    FrameServices frame;
    NewBlockExServices editor;
    WireTableScreens(frame, editor);
    ASSERT_TRUE(editor.recipes && editor.attachRegisters && editor.ethernetNodeTable && frame.tagTableDialog);

    g_RecipeTables.g_arrRecipeColumns = {"Port", "P1", "P2", "Address", "Value"};
    int shown = 0;
    editor.trackPopupMenu = [&shown](const ui::Menu& menu, int, int) {
        ++shown;
        EXPECT_EQ(menu.GetMenuItemCount(), 2);
        return 0;
    };
    ui.ExpectModal(IDD_RECIPE, [](ui::Dialog& dlg) {
        dlg.Item<ui::ListView>(IDC_RECIPE_GRID).UserRightClickCell(0, 0);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    editor.recipes();
    EXPECT_EQ(shown, 1);
    ui.ExpectModal(IDD_DEF_COMM_REG, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDCANCEL); });
    editor.attachRegisters();
    ui.ExpectModal(IDD_ETHERNET_NODE_TABLE, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDCANCEL); });
    editor.ethernetNodeTable();
    ui.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDCANCEL); });
    EXPECT_EQ(frame.tagTableDialog(), ui::IDCANCEL);
    g_TablesPopupMenu = nullptr;
    ClearRecipeTables();
    g_RecipeTables.g_arrRecipeColumns.clear();
    g_bRecipeDlgOpen = 0;
}

}  // namespace
