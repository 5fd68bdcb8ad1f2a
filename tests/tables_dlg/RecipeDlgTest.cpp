// The Recipes dialog: its rows, the context menu's insert and delete, the editors over a
// cell with their checks, the address button and what OK stores.
#include <gtest/gtest.h>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "compiler/ProjectImage.h"
#include "editor/RegisterAddressDlg.h"
#include "res/DialogImages.h"
#include "res/EditorResource.h"
#include "res/TablesResource.h"
#include "tables/RecipeDlg.h"
#include "model/TableResets.h"
#include "HeadlessUi.h"
#include "PlcFixture.h"

namespace {

class RecipeTest : public PlcTablesTest {
protected:
    testsupport::HeadlessUi ui;
    CRecipeTables& r = g_RecipeTables;
    std::vector<std::vector<std::string>> menus;  // the entries of each menu shown, "-" when grayed
    int menuAnswer = 0;

    void SetUp() override {
        PlcTablesTest::SetUp();
        ClearRecipeTables();
        r.g_arrRecipeColumns = {"Port", "Parameter 1", "Parameter 2", "Address", "Value"};
        g_bRecipesCom1 = g_bRecipesCom2 = 1;
        g_nRecipeState = 1;
        g_bProjectModified = 0;
        g_GridAddressPicker = PickRecipeAddress;
        g_TablesPopupMenu = [this](ui::Dialog&, const ui::Menu& menu, int, int) {
            std::vector<std::string> items;
            for (const ui::Menu::Item& item : menu.Items())
                items.push_back((item.flags & ui::MF_GRAYED ? "-" : "") + item.text);
            menus.push_back(items);
            return menuAnswer;
        };
    }
    void TearDown() override {
        ClearRecipeTables();
        r.g_arrRecipeColumns.clear();
        g_bRecipesCom1 = g_bRecipesCom2 = 0;
        g_nRecipeState = 0;
        g_bRecipeDlgOpen = 0;
        g_bProjectModified = 0;
        g_TablesPopupMenu = nullptr;
        PlcTablesTest::TearDown();
    }
    static ui::ListView& Grid(ui::Dialog& dlg) { return dlg.Item<ui::ListView>(IDC_RECIPE_GRID); }
    static std::vector<std::string> RowOf(ui::Dialog& dlg, int row) {
        std::vector<std::string> out;
        for (int c = 0; c < 5; ++c) out.push_back(Grid(dlg).GetItemText(row, c));
        return out;
    }
    // Opens the edit over a cell and types.
    static void Type(ui::Dialog& dlg, int row, int col, const std::string& text) {
        Grid(dlg).UserClickCell(row, col);
        ASSERT_NE(dlg.GetDlgItem(IDC_GRID_EDIT), nullptr);
        dlg.Item(IDC_GRID_EDIT).UserType(text);
    }
    static void Leave(ui::Dialog& dlg) { Grid(dlg).UserClickCell(-1, -1); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& b : ui.MessageBoxes()) out.push_back(b.text);
        return out;
    }
    void Run(std::function<void(ui::Dialog&)> step) {
        ui.ExpectModal(IDD_RECIPE, std::move(step));
        CRecipeDlg dlg;
        dlg.DoModal();
    }
};

TEST_F(RecipeTest, ANewTableShowsOneDefaultRowAndOkWithoutAnAddressKeepsNothing) {
    Run([](ui::Dialog& dlg) {
        ui::ListView& grid = Grid(dlg);
        ASSERT_EQ(grid.GetColumnCount(), 5);
        EXPECT_EQ(grid.GetColumnHeading(3), "Address");
        EXPECT_EQ(grid.GetColumnWidth(4), 100);
        EXPECT_EQ(dlg.Item(IDC_RECIPE_PICTURE).GetBitmap(), res::TablesBitmap(IDB_RECIPES));
        ASSERT_EQ(grid.GetItemCount(), 1);
        EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"Com1", "1", "1", "", "65535"}));
        EXPECT_EQ(g_bRecipeDlgOpen, 1u);
        dlg.UserClickButton(ui::IDOK);
    });
    EXPECT_TRUE(r.g_arrRecipeAddr.empty());
    EXPECT_EQ(g_nRecipeState, 1);
    EXPECT_EQ(g_bRecipeDlgOpen, 0u);
    EXPECT_EQ(g_bProjectModified, 0);  // nothing was there and nothing is

    // Only COM2 takes recipes: an inserted row starts there too, never on COM1.
    g_bRecipesCom1 = 0;
    menuAnswer = ID_RECIPE_INSERT_ROW;
    Run([](ui::Dialog& dlg) {
        EXPECT_EQ(Grid(dlg).GetItemText(0, 0), "Com2");
        Grid(dlg).SetItemText(0, 3, "X5");
        Grid(dlg).SetItemSelected(0, false);  // the new row comes last
        Grid(dlg).UserRightClickCell(-1, -1);
        ASSERT_EQ(Grid(dlg).GetItemCount(), 2);
        EXPECT_EQ(Grid(dlg).GetItemText(1, 3), "");
        EXPECT_EQ(Grid(dlg).GetItemText(1, 0), "Com2");
        dlg.UserClickButton(ui::IDCANCEL);
    });
}

TEST_F(RecipeTest, InsertAndDeleteThroughTheContextMenu) {
    Run([this](ui::Dialog& dlg) {
        ui::ListView& grid = Grid(dlg);
        // No row selected: Delete Row is grayed.
        grid.SetItemSelected(0, false);
        grid.UserRightClickCell(-1, -1);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0], (std::vector<std::string>{"&Insert Row", "-&Delete Row"}));

        menuAnswer = ID_RECIPE_INSERT_ROW;
        grid.UserRightClickCell(0, 1);
        EXPECT_EQ(menus[1], (std::vector<std::string>{"&Insert Row", "&Delete Row"}));
        EXPECT_EQ(grid.GetItemCount(), 1);  // the last row has no address yet
        grid.SetItemSelected(0, false);
        for (int i = 0; i < 5; ++i) {
            grid.SetItemText(grid.GetItemCount() - 1, 3, "N" + std::to_string(i + 1));
            grid.SetItemText(grid.GetItemCount() - 1, 4, std::to_string(i + 1));
            grid.UserRightClickCell(-1, -1);  // a click beside the rows selects none: appended
        }
        ASSERT_EQ(grid.GetItemCount(), 6);
        grid.DeleteItem(5);
        // The third row selected: the new row comes in its place.
        grid.UserRightClickCell(2, 1);
        ASSERT_EQ(grid.GetItemCount(), 6);
        EXPECT_EQ(RowOf(dlg, 2), (std::vector<std::string>{"Com1", "1", "1", "", "65535"}));
        EXPECT_EQ(RowOf(dlg, 1)[3], "N2");
        EXPECT_EQ(RowOf(dlg, 3)[3], "N3");
        EXPECT_EQ(RowOf(dlg, 5)[3], "N5");

        menuAnswer = ID_RECIPE_DELETE_ROW;
        grid.UserRightClickCell(4, 0);
        ASSERT_EQ(grid.GetItemCount(), 5);
        EXPECT_EQ(RowOf(dlg, 4)[3], "N5");
        dlg.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Please complete the previous row."}));
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Incomplete row");
    EXPECT_TRUE(r.g_arrRecipeAddr.empty());  // Cancel stores nothing
}

TEST_F(RecipeTest, CellChecksOfTheEditorsAndEscape) {
    Run([this](ui::Dialog& dlg) {
        ui::ListView& grid = Grid(dlg);
        Type(dlg, 0, 2, "0");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 2), "1");
        Type(dlg, 0, 1, "0");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 1), "0");

        // No address yet: any value stays.
        Type(dlg, 0, 4, "70000");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 4), "70000");

        // Addresses: unknown, read-only coil, then a coil.
        Type(dlg, 0, 3, "Y5");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 3), "");
        EXPECT_NE(dlg.GetDlgItem(IDC_GRID_BUTTON), nullptr);  // the address button stays
        Type(dlg, 0, 3, "S3/1");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 3), "");
        Type(dlg, 0, 3, "NB50");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 3), "");
        // The value typed before its address is held to the address once it comes: a coil
        // takes 0 or 1, and both messages of 70000 are shown.
        ui.ClearRecords();
        Type(dlg, 0, 3, "B1/1");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 3), "B1/1");
        EXPECT_EQ(grid.GetItemText(0, 4), "1");
        const std::vector<std::string> both = {"Invalid Value.Please Enter Valid Data between 0-1.",
                                               "Invalid Value.Please Enter Valid Data between 0-65535."};
        EXPECT_EQ(Texts(), both);
        ui.ClearRecords();

        Type(dlg, 0, 4, "2");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 4), "1");
        Type(dlg, 0, 4, "70000");
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 4), "1");  // never 65535 on a coil
        EXPECT_EQ(Texts(), (std::vector<std::string>{"Invalid Value.Please Enter Valid Data between 0-1.", both[0],
                                                      both[1]}));
        // Escape gives the cell its old text back and leaves the dialog open; Enter keeps.
        Type(dlg, 0, 1, "42");
        dlg.Item(IDC_GRID_EDIT).UserKey(ui::VK_ESCAPE);
        EXPECT_EQ(grid.GetItemText(0, 1), "0");
        EXPECT_EQ(dlg.GetDlgItem(IDC_GRID_EDIT), nullptr);
        Type(dlg, 0, 1, "42");
        dlg.Item(IDC_GRID_EDIT).UserKey(ui::VK_RETURN);
        EXPECT_EQ(grid.GetItemText(0, 1), "42");
        EXPECT_TRUE(dlg.IsLive());
        dlg.UserClickButton(ui::IDCANCEL);
    });
}

TEST_F(RecipeTest, FirstMessagesOfTheNumberAndAddressChecks) {
    Run([](ui::Dialog& dlg) {
        Type(dlg, 0, 2, "0");
        Leave(dlg);
        Type(dlg, 0, 1, "300");
        Leave(dlg);
        Type(dlg, 0, 3, "Y5");
        Leave(dlg);
        Type(dlg, 0, 3, "S3/1");
        Leave(dlg);
        Type(dlg, 0, 3, "NB50");
        Leave(dlg);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Invalid Value.Please Enter Valid Data Between 1-255.",
                           "Invalid Value.Please Enter Valid Data Between 0-255.",
                           "Invalid Address.Please Enter Valid Address.",
                           "Can not write to Read only Coil.\n Please select Read/Write Coil.",
                           "Can not write to Read only Register.\n Please select Read/Write Register.",
                       }));
    for (const auto& b : ui.MessageBoxes()) EXPECT_EQ(b.caption, "Error");
}

TEST_F(RecipeTest, SideComboOffersTheFlaggedSidesAndOkStoresEachSideWithItsParser) {
    g_bProjectModified = 0;
    Run([this](ui::Dialog& dlg) {
        ui::ListView& grid = Grid(dlg);
        grid.UserClickCell(0, 0);
        auto* combo = dynamic_cast<ui::ListControl*>(dlg.GetDlgItem(IDC_GRID_COMBO));
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->GetCount(), 2);
        EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "Com1");
        combo->UserSelect(1);
        Leave(dlg);
        EXPECT_EQ(grid.GetItemText(0, 0), "Com2");
        EXPECT_EQ(g_nGridClickPort, 2u);
        Type(dlg, 0, 4, "1");
        Type(dlg, 0, 3, "X5/1");  // a COM2 coil
        Type(dlg, 0, 1, "7");
        Leave(dlg);
        menuAnswer = ID_RECIPE_INSERT_ROW;
        grid.SetItemSelected(0, false);  // no row selected: the new row comes last
        grid.UserRightClickCell(-1, -1);
        grid.SetItemText(1, 3, "N12");
        grid.SetItemText(1, 4, "300");
        dlg.UserClickButton(ui::IDOK);
    });
    EXPECT_TRUE(ui.MessageBoxes().empty());
    ASSERT_EQ(r.g_arrRecipeAddr, (StringArray{"X5/1", "N12"}));
    EXPECT_EQ(r.g_arrRecipeRegCode[0], t.ParseAddressCom2("X5/1").substr(0, 9));
    EXPECT_EQ(r.g_arrRecipeRegCode[1], t.ParseAddressCom1("N12").substr(0, 9));
    EXPECT_EQ(r.g_abRecipePort[0], 2);
    EXPECT_EQ(r.g_abRecipePort[1], 1);
    EXPECT_EQ(r.g_abRecipeIsCoil[0], 1);
    EXPECT_EQ(r.g_abRecipeIsCoil[1], 0);
    EXPECT_EQ(r.g_abRecipeCol1[0], 7);
    EXPECT_EQ(r.g_awRecipeValue[1], 300);
    EXPECT_EQ(r.g_arrRecipeValueText[1], "300");
    EXPECT_EQ(g_nRecipeState, 0);
    EXPECT_EQ(g_bProjectModified, 1);

    // The stored rows come back. With every address taken out, OK keeps no row.
    g_bProjectModified = 0;
    Run([](ui::Dialog& dlg) {
        EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"Com2", "7", "1", "X5/1", "1"}));
        ASSERT_EQ(Grid(dlg).GetItemCount(), 2);
        Grid(dlg).SetItemText(0, 3, "");
        Grid(dlg).SetItemText(1, 3, "");
        dlg.UserClickButton(ui::IDOK);
    });
    EXPECT_TRUE(r.g_arrRecipeAddr.empty());
    EXPECT_EQ(r.g_abRecipePort[0], 0);
    EXPECT_EQ(g_nRecipeState, 1);
    EXPECT_EQ(g_bProjectModified, 1);  // the recipes it had are gone: a change to save

    g_bRecipesCom1 = 0;
    Run([](ui::Dialog& dlg) {
        Grid(dlg).UserClickCell(0, 0);
        auto* combo = dynamic_cast<ui::ListControl*>(dlg.GetDlgItem(IDC_GRID_COMBO));
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->GetCount(), 1);
        EXPECT_EQ(combo->GetLBText(0), "Com2");
        // Escape in the combo keeps the cell as it was.
        combo->UserKey(ui::VK_ESCAPE);
        EXPECT_EQ(Grid(dlg).GetItemText(0, 0), "Com2");
        EXPECT_TRUE(dlg.IsLive());
        dlg.UserClickButton(ui::IDCANCEL);
    });
}

TEST_F(RecipeTest, AddressButtonPicksAnAddressOnTheRowsPort) {
    Run([this](ui::Dialog& dlg) {
        ui::ListView& grid = Grid(dlg);
        grid.SetItemText(0, 0, "Com2");
        grid.UserClickCell(0, 3);
        ASSERT_NE(dlg.GetDlgItem(IDC_GRID_BUTTON), nullptr);
        std::string shown;
        ui.ExpectModal(IDD_REGISTER_ADDRESS, [&shown](ui::Dialog& picker) {
            EXPECT_EQ(static_cast<CRegisterAddressDlg&>(picker).m_nPort, 2);
            auto& types = picker.Item<ui::ListControl>(IDC_REGISTER_TYPE);
            types.UserSelect(types.FindStringExact(-1, "Bit X"));  // a coil of COM2
            shown = picker.GetDlgItemText(IDC_ADDRESS_TEXT);
            picker.UserClickButton(ui::IDOK);
        });
        dlg.Item(IDC_GRID_BUTTON).UserClick();
        EXPECT_EQ(shown, "X0/0");
        EXPECT_EQ(grid.GetItemText(0, 3), shown);
        EXPECT_EQ(t.IsCoilAddress(grid.GetItemText(0, 3), 2), 1);
        EXPECT_EQ(grid.GetItemText(0, 4), "1");  // the new row's 65535, never typed, fits the coil
        EXPECT_EQ(Texts(), std::vector<std::string>{});
        ui.ClearRecords();

        // Cancel leaves the row.
        grid.SetItemText(0, 4, "0");
        ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& picker) { picker.UserClickButton(ui::IDCANCEL); });
        dlg.Item(IDC_GRID_BUTTON).UserClick();
        EXPECT_EQ(grid.GetItemText(0, 4), "0");

        // A type of a damaged definition gives no address: refused, the row stays.
        ui.ExpectModal(IDD_REGISTER_ADDRESS, [](ui::Dialog& picker) {
            auto& types = picker.Item<ui::ListControl>(IDC_REGISTER_TYPE);
            types.UserSelect(types.FindStringExact(-1, "Corrupt PLC file"));
            picker.UserClickButton(ui::IDOK);
        });
        dlg.Item(IDC_GRID_BUTTON).UserClick();
        EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"Com2", "1", "1", "X0/0", "0"}));
        EXPECT_EQ(Texts(), (std::vector<std::string>{"Invalid Address.Please Enter Valid Address."}));
        dlg.UserClickButton(ui::IDCANCEL);
    });
}

// A row without an address among rows that have one: OK names it and keeps the dialog
// open, and nothing stored is lost whichever way the dialog then closes. A side changed
// after its address is caught at OK as well.
TEST_F(RecipeTest, OkNamesAnIncompleteRowAndLosesNoRow) {
    r.g_arrRecipeAddr = {"N1", "N2", "N3"};
    for (int i = 0; i < 3; ++i) {
        r.g_abRecipePort[i] = r.g_abRecipeCol1[i] = r.g_abRecipeCol2[i] = 1;
        r.g_awRecipeValue[i] = static_cast<uint16_t>(10 * (i + 1));
    }
    g_nRecipeState = 0;
    menuAnswer = ID_RECIPE_INSERT_ROW;
    const std::string incomplete = "Please complete row 2.";
    auto insertAtRowOne = [this](ui::Dialog& dlg) {
        Grid(dlg).UserClickCell(1, 1);
        Leave(dlg);
        Grid(dlg).UserRightClickCell(1, 1);
        ASSERT_EQ(Grid(dlg).GetItemCount(), 4);
    };
    auto keptAsStored = [this]() {
        EXPECT_EQ(r.g_arrRecipeAddr, (StringArray{"N1", "N2", "N3"}));
        EXPECT_EQ(r.g_awRecipeValue[2], 30);
        EXPECT_EQ(g_nRecipeState, 0);
        EXPECT_EQ(g_bProjectModified, 0);
    };
    Run([&](ui::Dialog& dlg) {
        insertAtRowOne(dlg);
        dlg.UserClickButton(ui::IDOK);
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_TRUE(Grid(dlg).IsItemSelected(1));
        EXPECT_FALSE(Grid(dlg).IsItemSelected(0));
        dlg.UserPressEnter();
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_EQ(g_bRecipeDlgOpen, 1u);
        dlg.UserPressEscape();
    });
    ASSERT_EQ(Texts(), (std::vector<std::string>{incomplete, incomplete}));
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Incomplete row");
    keptAsStored();

    ui.ClearRecords();
    Run([&](ui::Dialog& dlg) {
        insertAtRowOne(dlg);
        Type(dlg, 1, 3, "N9");
        Grid(dlg).UserClickCell(2, 0);
        dlg.Item<ui::ListControl>(IDC_GRID_COMBO).UserSelect(1);
        Leave(dlg);
        EXPECT_EQ(RowOf(dlg, 2), (std::vector<std::string>{"Com2", "1", "1", "N2", "20"}));
        dlg.UserClickButton(ui::IDOK);
        ASSERT_TRUE(dlg.IsLive());
        EXPECT_TRUE(Grid(dlg).IsItemSelected(2));
        dlg.UserClose();
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Invalid Address.Please Enter Valid Address."}));
    keptAsStored();
}

// A refused address leaves the cell with the address it had, so that OK stores the row:
// the one row of a table was emptied by a mistyped address and OK stored no recipe.
TEST_F(RecipeTest, ARefusedAddressKeepsTheOneTheCellHad) {
    r.g_arrRecipeAddr = {"N1"};
    r.g_abRecipePort[0] = r.g_abRecipeCol1[0] = r.g_abRecipeCol2[0] = 1;
    r.g_awRecipeValue[0] = 10;
    g_nRecipeState = 0;
    Run([](ui::Dialog& dlg) {
        for (const char* typed : {"Y5", "N5:1", "S3/1"}) {
            Type(dlg, 0, 3, typed);
            dlg.Item(IDC_GRID_EDIT).UserKey(ui::VK_RETURN);
            EXPECT_EQ(RowOf(dlg, 0), (std::vector<std::string>{"Com1", "1", "1", "N1", "10"})) << typed;
        }
        dlg.UserPressEnter();
    });
    EXPECT_EQ(Texts().size(), 3u);
    EXPECT_EQ(r.g_arrRecipeAddr, StringArray{"N1"});
    EXPECT_EQ(r.g_awRecipeValue[0], 10);
    EXPECT_EQ(g_nRecipeState, 0);
}

// What reaches the holder and the unit's image is what the row shows at OK: a value and an
// address typed in either order, or the address picked with the button, are stored and sent
// as shown, or refused with the cell's message and a text the address takes.
TEST_F(RecipeTest, WhatIsSentIsWhatTheRowShowsOrARefusal) {
    enum Order { kValueFirst, kAddressFirst, kButton };
    struct Case {
        const char* side;
        const char* value;
        const char* address;
        Order order;
        std::vector<std::string> messages;
        const char* valueAfter;
        const char* addressAfter;
        const char* key;  // the register key the unit gets, 9 bytes; none when refused
        char coil = 0;
    };
    const std::string coil = "Invalid Value.Please Enter Valid Data between 0-1.";
    const std::string word = "Invalid Value.Please Enter Valid Data between 0-65535.";
    const std::string bad = "Invalid Address.Please Enter Valid Address.";
    const std::vector<Case> cases = {
        {"Com1", "70000", "N5", kValueFirst, {word}, "65535", "N5", "N005*****"},
        {"Com1", "65535", "B1/1", kValueFirst, {coil}, "1", "B1/1", "B00101***", 1},
        {"Com1", "70000", "N5", kAddressFirst, {word}, "65535", "N5", "N005*****"},
        {"Com1", "300", "N5", kValueFirst, {}, "300", "N5", "N005*****"},
        {"Com1", "300", "N5", kAddressFirst, {}, "300", "N5", "N005*****"},
        {"Com1", "", "N5", kValueFirst, {word}, "65535", "N5", "N005*****"},
        {"Com1", "0", "B1/1", kValueFirst, {}, "0", "B1/1", "B00101***", 1},
        {"Com1", "2", "B1/1", kAddressFirst, {coil}, "1", "B1/1", "B00101***", 1},  // 65535 untouched first
        {"Com1", "300", "N5", kButton, {}, "300", "N5", "N005*****"},
        {"Com1", "65535", "B1/1", kButton, {coil}, "1", "B1/1", "B00101***", 1},
        {"Com1", "0", "B1/1", kButton, {}, "0", "B1/1", "B00101***", 1},
        {"Com1", "99999", "N999", kButton, {word}, "65535", "N999", "N999*****"},
        {"Com2", "1", "X5/1", kValueFirst, {}, "1", "X5/1", "X51******", 1},
        {"Com2", "50", "X5", kAddressFirst, {}, "50", "X5", "X5*******"},
        // Addresses that would reach the unit as another register or none.
        {"Com1", "300", "N5000", kValueFirst, {bad}, "300", "", nullptr},
        {"Com1", "300", "N5_3", kValueFirst, {bad}, "300", "", nullptr},
        {"Com1", "300", "N", kValueFirst, {bad}, "300", "", nullptr},
        {"Com1", "300", "N5:1", kValueFirst, {bad}, "300", "", nullptr},  // was sent as N5
        {"Com1", "300", "N5/1", kButton, {bad}, "300", "", nullptr},
        {"Com2", "300", "X1234567890", kValueFirst, {bad}, "300", "", nullptr},
        {"Com1", "300", "N5000", kButton, {bad}, "300", "", nullptr},
    };
    g_bRecipesCom2 = 0;  // the image holds the recipe block only
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.side) + " " + c.value + " " + c.address + " order " + std::to_string(c.order));
        ClearRecipeTables();
        g_nRecipeState = 1;
        ui.ClearRecords();
        g_GridAddressPicker = [&c](ui::Dialog&, int port, const std::string&, std::string& picked) {
            EXPECT_EQ(port, GridPortOf(c.side) == 1 ? 1 : 2);
            picked = c.address;
            return true;
        };
        std::vector<std::string> shown;
        Run([&](ui::Dialog& dlg) {
            Grid(dlg).SetItemText(0, 0, c.side);
            if (c.order == kAddressFirst) Type(dlg, 0, 3, c.address);
            Type(dlg, 0, 4, c.value);
            if (c.order == kValueFirst) Type(dlg, 0, 3, c.address);
            if (c.order == kButton) {
                Grid(dlg).UserClickCell(0, 3);
                dlg.Item(IDC_GRID_BUTTON).UserClick();
            }
            Leave(dlg);
            shown = RowOf(dlg, 0);
            dlg.UserClickButton(ui::IDOK);
        });
        EXPECT_EQ(Texts(), c.messages);
        EXPECT_EQ(shown, (std::vector<std::string>{c.side, "1", "1", c.addressAfter, c.valueAfter}));
        if (!c.key) {
            EXPECT_TRUE(r.g_arrRecipeAddr.empty());
            continue;
        }
        ASSERT_EQ(r.g_arrRecipeAddr, StringArray{c.addressAfter});
        EXPECT_EQ(r.g_arrRecipeValueText, StringArray{c.valueAfter});
        const int value = std::atoi(c.valueAfter);
        const std::string row = std::string{char(GridPortOf(c.side)), 1, 1} + c.key +
                                std::string{char(value & 0xFF), char(value >> 8), c.coil};
        EXPECT_EQ(BuildFeatureBlocks(), std::string("\x01\x03\x0F\x00\x01\x0F", 6) + row);
    }
}

}  // namespace
