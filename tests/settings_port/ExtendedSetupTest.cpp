// The dialog built at run time and the Extended Setup values it shows and encodes.
#include <gtest/gtest.h>

#include "HeadlessUi.h"
#include "model/ExtendedTables.h"
#include "res/PortSettingsResource.h"
#include "settings/DynDialogEx.h"
#include "settings/ExtendedSetupDlg.h"
#include "model/TableResets.h"

namespace {

using testsupport::HeadlessUi;

CDynDialogEx& Dyn(ui::Dialog& d) { return dynamic_cast<CDynDialogEx&>(d); }

// The control of item number k (1-based).
ui::Control& ItemControl(ui::Dialog& d, int k) {
    auto& dyn = Dyn(d);
    auto it = dyn.m_mapItemIds.find(k);
    EXPECT_NE(it, dyn.m_mapItemIds.end()) << "no item " << k;
    return d.Item(it->second);
}

TEST(ScaleValue, StoresAndShowsInEachMode) {
    EXPECT_EQ(CDynDialogEx::ScaleValue(7, 3, 2, 1), 3);
    EXPECT_EQ(CDynDialogEx::ScaleValue(-7, 3, 2, 1), -3);
    EXPECT_EQ(CDynDialogEx::ScaleValue(5, 9, 4, 0), 5);
    EXPECT_EQ(CDynDialogEx::ScaleValue(10, 1, 3, 0), 13);
    EXPECT_EQ(CDynDialogEx::ScaleValue(10, 1, 3, 1), 7);
    EXPECT_EQ(CDynDialogEx::ScaleValue(10, 2, 3, 0), 7);
    EXPECT_EQ(CDynDialogEx::ScaleValue(10, 2, 3, 5), 13);
    EXPECT_EQ(CDynDialogEx::ScaleValue(250, 3, 10, 0), 2500);
    EXPECT_EQ(CDynDialogEx::ScaleValue(2500, 4, 10, 0), 250);
    EXPECT_EQ(CDynDialogEx::ScaleValue(250, 4, 10, 1), 2500);
    // No factor divides nothing; a product past 32 bits saturates.
    EXPECT_EQ(CDynDialogEx::ScaleValue(9, 3, 0, 1), 9);
    EXPECT_EQ(CDynDialogEx::ScaleValue(9, 4, 0, 0), 9);
    EXPECT_EQ(CDynDialogEx::ScaleValue(2000000000, 3, 10, 0), 2147483647);
}

TEST(DynDialogEx, RowsAreaAndOkCancelPlacement) {
    HeadlessUi ui;
    CDynDialogEx one;
    one.m_nItemNumber = 1;
    one.AddDlgControl("EDIT", "", 0x50010000, 0);    // no rectangle: row 10
    one.AddDlgControl("STATIC", "x", 0x50000000, 0);  // row 22
    EXPECT_EQ(one.m_arrItems[0]->m_rect, (ui::Rect{20, 10, 105, 22}));
    EXPECT_EQ(one.m_arrItems[1]->m_rect, (ui::Rect{20, 22, 105, 34}));
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    EXPECT_EQ(one.DoModal(), ui::IDCANCEL);
    // One input item: OK and Cancel at the next row; the area covers them.
    EXPECT_EQ(one.Item(ui::IDOK).GetRect(), (ui::Rect{20, 34, 60, 48}));
    EXPECT_EQ(one.Item(ui::IDCANCEL).GetRect(), (ui::Rect{75, 34, 115, 48}));
    EXPECT_EQ(one.Template().cx, 120);
    EXPECT_EQ(one.Template().cy, 53);

    CDynDialogEx two;
    two.m_nItemNumber = 2;
    two.AddDlgControl("EDIT", "", 0x50010000, 0);
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) { d.UserClickButton(ui::IDOK); });
    EXPECT_EQ(two.DoModal(), ui::IDOK);
    EXPECT_EQ(two.Item(ui::IDOK).GetRect(), (ui::Rect{20, 2, 60, 16}));
}

TEST(DynDialogEx, IdsKeepGrowingAndTheMapNamesTheLastControl) {
    HeadlessUi ui;
    CDynDialogEx first;
    first.m_nItemNumber = 1;
    const int a = first.AddDlgControl("BUTTON", "A", 0x50030009, 0);
    const int b = first.AddDlgControl("BUTTON", "B", 0x50000009, 0);
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(first.m_mapItemIds.at(1), b);
    first.AddDlgControl("STATIC", "label", 0x50000000, 0);
    EXPECT_EQ(first.m_mapItemIds.at(1), b);  // labels are not mapped

    CDynDialogEx second;
    EXPECT_GT(second.AddDlgControl("EDIT", "", 0x50010000, 0), b + 1);
    EXPECT_EQ(ClassNameToControlType("SysIPAddress32"), 145u);
    EXPECT_EQ(ControlTypeToClassName(133), "COMBOBOX");
    EXPECT_EQ(ControlTypeToClassName(147), "");
}

TEST(DynDialogEx, AnItemOfAClassThatCannotBeShownIsSkippedWithAMessage) {
    HeadlessUi ui;
    CDynDialogEx dlg;
    dlg.m_nItemNumber = 1;
    const int anim = dlg.AddDlgControl("SysAnimate32", "", 0x50000000, 0);
    const int edit = dlg.AddDlgControl("EDIT", "", 0x50010000, 0);
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItem(anim), nullptr);
        EXPECT_NE(d.GetDlgItem(edit), nullptr);
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Failed to create DlgItem.");
}

// One port's general-entity items, as the definition file's descriptors give them.
class ExtendedSetup : public ::testing::Test {
protected:
    void SetUp() override { ResetGeneralEntity(); }
    void TearDown() override {
        ResetGeneralEntity();
        g_bExtSetupError1 = g_bExtSetupError2 = 0;
    }
    // label, size, type, value 1, value 2, max, min, mode, factor
    void AddItem(int port, const std::vector<std::string>& fields) {
        auto* arrays = port == 1 ? g_GeneralEntity.g_arrGeneralEntityCom1 : g_GeneralEntity.g_arrGeneralEntityCom2;
        for (int f = 0; f < kGeneralEntityFields; ++f)
            arrays[f].push_back(size_t(f) < fields.size() ? fields[size_t(f)] : "");
        ++(port == 1 ? g_GeneralEntity.g_nGeneralEntityCount1 : g_GeneralEntity.g_nGeneralEntityCount2);
    }
    HeadlessUi ui;
    CGeneralEntityTables& g = g_GeneralEntity;
};

TEST_F(ExtendedSetup, ANumberIsScaledIntoTwoBytesAndShownBackUnscaled) {
    AddItem(1, {"Scan time", "2", "1", "100", "", "500", "0", "3", "10"});
    g_bExtSetupError1 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Extended Setup");
        ui::Control& edit = ItemControl(d, 1);
        EXPECT_EQ(edit.GetWindowText(), "100");  // the default
        EXPECT_EQ(edit.GetLimitText(), 5);
        edit.UserType("250");
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(RunExtendedSetup(nullptr, 1), ui::IDOK);
    EXPECT_EQ(g.g_abExtSetup1[0], 0xC4);
    EXPECT_EQ(g.g_abExtSetup1[1], 0x09);
    EXPECT_EQ(g.g_nExtSetupLen1, 2);
    EXPECT_EQ(g_bExtSetupError1, 0);

    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(ItemControl(d, 1).GetWindowText(), "250");
        d.UserClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(RunExtendedSetup(nullptr, 1), ui::IDCANCEL);
}

TEST_F(ExtendedSetup, AValueOutOfRangeIsNamedAndNothingStoredUntilItIsMended) {
    AddItem(1, {"Scan time", "2", "1", "100", "", "500", "0", "3", "10"});
    AddItem(1, {"Mode", "", "5", "Fast", "1"});
    g.g_abExtSetup1[0] = 0xC4;
    g.g_abExtSetup1[1] = 0x09;
    g.g_abExtSetup1[2] = 1;
    g.g_nExtSetupLen1 = 3;
    g_bExtSetupError1 = 0;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        ui::Control& edit = ItemControl(d, 1);
        edit.UserType("600");
        ItemControl(d, 2).UserClick();  // clears the check box
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_TRUE(edit.HasFocus());
        edit.UserType("40");
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(RunExtendedSetup(nullptr, 1), ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Please enter the valid value betwwen this range (0 - 500)");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Invalid Value");
    EXPECT_EQ(ui.MessageBoxes()[0].flags, ui::MB_OK | ui::MB_ICONINFORMATION);
    EXPECT_EQ(g.g_abExtSetup1[0], 400 & 0xFF);
    EXPECT_EQ(g.g_abExtSetup1[1], 400 >> 8);
    EXPECT_EQ(g.g_abExtSetup1[2], 0);
    EXPECT_EQ(g.g_nExtSetupLen1, 3);

    // Cancelled after a refused value: the buffer stays as it was.
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        ItemControl(d, 1).UserType("501");
        d.UserClickButton(ui::IDOK);
        d.UserClickButton(ui::IDCANCEL);
    });
    RunExtendedSetup(nullptr, 1);
    EXPECT_EQ(g.g_abExtSetup1[0], 400 & 0xFF);
    EXPECT_EQ(g_bExtSetupError1, 0);
}

// Every number a person can leave in an item either reaches the buffer as bytes that show
// the same number again, or is refused with a message and the dialog stays open.
TEST_F(ExtendedSetup, ANumberIsSentAsShownOrRefused) {
    const char* kRange = "Please enter the valid value betwwen this range (0 - 60000)";
    const struct {
        std::vector<std::string> item;  // label, size, type, value 1, value 2, max, min, mode, factor
        const char* typed;
        std::vector<int> bytes;  // empty: refused with the message
        const char* message;
    } cases[] = {
        {{"Retries", "1", "1", "12", "", "99", "0", "1", "5"}, "99", {104}, nullptr},
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, "1000", {100, 0}, nullptr},
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, " 42 ", {}, nullptr},  // 4.2: not exact
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, "1005", {}, nullptr},
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, "12abc", {}, kRange},
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, "", {}, kRange},
        {{"Interval", "2", "1", "1000", "", "60000", "0", "4", "10"}, "-10", {}, kRange},
        {{"Count", "1", "1", "0", "", "300", "0", "0", "0"}, "255", {255}, nullptr},
        {{"Count", "1", "1", "0", "", "300", "0", "0", "0"}, "300", {}, nullptr},  // past one byte
        {{"Offset", "1", "1", "0", "", "10", "-10", "0", "0"}, "-5", {}, nullptr},  // shown back as 251
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item[0] + " '" + c.typed + "'");
        ResetGeneralEntity();
        ui.ClearRecords();
        AddItem(1, c.item);
        g_bExtSetupError1 = 1;
        const bool taken = !c.bytes.empty();
        ui.ExpectModal(IDD_RUNTIME_DIALOG, [&](ui::Dialog& d) {
            ItemControl(d, 1).UserType(c.typed);
            d.UserClickButton(ui::IDOK);
            EXPECT_EQ(d.IsEnded(), taken);
            if (!taken) d.UserClickButton(ui::IDCANCEL);
        });
        RunExtendedSetup(nullptr, 1);
        if (!taken) {
            ASSERT_EQ(ui.MessageBoxes().size(), 1u);
            const std::string exact =
                "The value " + std::to_string(std::atoi(c.typed)) + " can not be stored exactly. Please enter another value.";
            EXPECT_EQ(ui.MessageBoxes()[0].text, c.message ? std::string(c.message) : exact);
            EXPECT_EQ(g_bExtSetupError1, 1);
            continue;
        }
        EXPECT_TRUE(ui.MessageBoxes().empty());
        ASSERT_EQ(g.g_nExtSetupLen1, int(c.bytes.size()));
        for (size_t b = 0; b < c.bytes.size(); ++b) EXPECT_EQ(g.g_abExtSetup1[b], c.bytes[b]) << "byte " << b;
        ui.ExpectModal(IDD_RUNTIME_DIALOG, [&](ui::Dialog& d) {
            EXPECT_EQ(ItemControl(d, 1).GetWindowText(), c.typed);
            d.UserClickButton(ui::IDCANCEL);
        });
        RunExtendedSetup(nullptr, 1);
    }
}

TEST_F(ExtendedSetup, RadioIpListAndSwitchBytes) {
    AddItem(1, {"Parity check", "", "2", "On", "Off", "1"});
    AddItem(1, {"Server", "", "3", "10", "0", "0", "1"});
    AddItem(1, {"Speed", "", "4", "Off", "Auto", "1"});
    AddItem(1, {"Keep alive", "", "5", "Enabled", "1"});
    g_bExtSetupError1 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        auto& dyn = Dyn(d);
        const int second = dyn.m_mapItemIds.at(1);
        EXPECT_EQ(d.Item(second - 1).GetCheck(), 1);  // default: the first button
        EXPECT_EQ(d.Item(second).GetCheck(), 0);
        EXPECT_EQ(ItemControl(d, 2).GetWindowText(), "10.0.0.1");
        auto& list = dynamic_cast<ui::ComboBox&>(ItemControl(d, 3));
        ASSERT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetLBText(0), "Auto");  // sorted
        EXPECT_EQ(list.GetLBText(1), "Off");
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_EQ(ItemControl(d, 4).GetCheck(), 1);
        d.Item(second).UserClick();
        ItemControl(d, 2).UserType("192.168.0.10");
        list.UserSelect(0);
        d.UserClickButton(ui::IDOK);
    });
    RunExtendedSetup(nullptr, 1);
    const std::uint8_t expected[] = {0, 0xC0, 0xA8, 0x00, 0x0A, 0, 1};
    EXPECT_EQ(g.g_nExtSetupLen1, 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(g.g_abExtSetup1[i], expected[i]) << "byte " << i;

    // Shown again from the buffer; typed text over the list is no choice.
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        const int second = Dyn(d).m_mapItemIds.at(1);
        EXPECT_EQ(d.Item(second).GetCheck(), 1);
        EXPECT_EQ(ItemControl(d, 2).GetWindowText(), "192.168.0.10");
        EXPECT_EQ(dynamic_cast<ui::ComboBox&>(ItemControl(d, 3)).GetCurSel(), 0);
        ItemControl(d, 3).UserType("Sometimes");
        d.UserClickButton(ui::IDOK);
    });
    RunExtendedSetup(nullptr, 1);
    EXPECT_EQ(g.g_abExtSetup1[5], 0xFF);

    // Typed text that names a choice is that choice (it was sent as none), and shows again.
    for (const char* typed : {"Off", "auto"}) {
        ui.ExpectModal(IDD_RUNTIME_DIALOG, [typed](ui::Dialog& d) { ItemControl(d, 3).UserType(typed); d.UserPressEnter(); });
        RunExtendedSetup(nullptr, 1);
        EXPECT_EQ(g.g_abExtSetup1[5], std::string(typed) == "Off" ? 1 : 0) << typed;
    }
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(dynamic_cast<ui::ComboBox&>(ItemControl(d, 3)).GetWindowText(), "Auto");
        d.UserClose();
    });
    RunExtendedSetup(nullptr, 1);
    EXPECT_TRUE(ui.MessageBoxes().empty());
}

TEST_F(ExtendedSetup, AnIpAddressThatIsNotOneIsRefused) {
    AddItem(2, {"Server", "", "3", "10", "0", "0", "1"});
    g_bExtSetupError2 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "General Entity PLC2");
        ItemControl(d, 1).UserType("300.1.2.3");
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        ItemControl(d, 1).UserType("10.1.2");
        d.UserClickButton(ui::IDOK);
        EXPECT_FALSE(d.IsEnded());
        d.UserClickButton(ui::IDCANCEL);
    });
    RunExtendedSetup(nullptr, 2);
    EXPECT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(g_bExtSetupError2, 1);
    EXPECT_EQ(g.g_nExtSetupLen2, 0);
}

TEST_F(ExtendedSetup, PortTwoListStartsAtTheFirstChoiceAndLayoutFollowsTheItems) {
    AddItem(2, {"Speed", "", "4", "Off", "Auto", "1"});
    g_bExtSetupError2 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(dynamic_cast<ui::ComboBox&>(ItemControl(d, 1)).GetCurSel(), 0);
        d.UserClickButton(ui::IDCANCEL);
    });
    RunExtendedSetup(nullptr, 2);

    AddItem(1, {"Scan", "1", "1", "5", "", "9", "0"});
    AddItem(1, {"Keep alive", "", "5", "Enabled", "0"});
    AddItem(1, {"Speed", "", "4", "Off", "Auto", "0"});
    g_bExtSetupError1 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(d.Item(ui::IDOK).GetRect(), (ui::Rect{20, 62, 60, 76}));
        EXPECT_EQ(d.Item(ui::IDCANCEL).GetRect(), (ui::Rect{75, 62, 115, 76}));
        EXPECT_EQ(ItemControl(d, 1).GetRect(), (ui::Rect{125, 14, 160, 26}));
        EXPECT_EQ(ItemControl(d, 2).GetRect(), (ui::Rect{125, 40, 220, 54}));  // switch, port 1
        EXPECT_EQ(ItemControl(d, 1).GetLimitText(), 3);
        d.UserClickButton(ui::IDOK);
    });
    RunExtendedSetup(nullptr, 1);
    EXPECT_EQ(g.g_nExtSetupLen1, 3);
    EXPECT_EQ(g.g_abExtSetup1[0], 5);
    EXPECT_EQ(g.g_abExtSetup1[1], 0);
    EXPECT_EQ(g.g_abExtSetup1[2], 0);  // "Auto" is first in the sorted list
}

TEST_F(ExtendedSetup, AnUnknownItemTypeGetsALabelAndNoControl) {
    AddItem(1, {"Reserved", "1", "9"});
    AddItem(1, {"Keep alive", "", "5", "Enabled", "1"});
    g_bExtSetupError1 = 1;
    ui.ExpectModal(IDD_RUNTIME_DIALOG, [](ui::Dialog& d) {
        EXPECT_EQ(Dyn(d).m_mapItemIds.size(), 1u);
        EXPECT_EQ(ItemControl(d, 1).GetWindowText(), "Enabled");
        d.UserClickButton(ui::IDOK);
    });
    RunExtendedSetup(nullptr, 1);
    EXPECT_EQ(g.g_nExtSetupLen1, 1);
    EXPECT_EQ(g.g_abExtSetup1[0], 1);
}

}  // namespace
