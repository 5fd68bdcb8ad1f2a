// The behaviour of controls and dialogs that the screens rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "ui/Dialog.h"

namespace {

using namespace ui;

constexpr int IDC_NAME = 100;
constexpr int IDC_CODE = 101;
constexpr int IDC_APPLY = 102;
constexpr int IDC_RADIO_A = 103;
constexpr int IDC_RADIO_B = 104;
constexpr int IDC_RADIO_C = 105;
constexpr int IDC_OTHER_RADIO = 106;
constexpr int IDC_LIST = 107;
constexpr int IDC_CHECK = 108;
constexpr int IDC_NOTES = 109;

DialogTemplate TestTemplate() {
    DialogTemplate t;
    t.id = 9001;
    t.caption = "Test";
    t.cx = 200;
    t.cy = 150;
    t.controls = {
        {ControlKind::Edit, IDC_NAME, "", 10, 10, 100, 12, style::kTabStop},
        {ControlKind::Edit, IDC_CODE, "", 10, 25, 100, 12, style::kTabStop | style::kUpperCase},
        {ControlKind::Button, IDC_APPLY, "&Apply", 10, 40, 50, 14, style::kTabStop},
        {ControlKind::RadioButton, IDC_RADIO_A, "A", 10, 60, 40, 10, style::kGroup},
        {ControlKind::RadioButton, IDC_RADIO_B, "B", 10, 70, 40, 10, 0},
        {ControlKind::RadioButton, IDC_RADIO_C, "C", 10, 80, 40, 10, 0},
        {ControlKind::RadioButton, IDC_OTHER_RADIO, "X", 60, 60, 40, 10, style::kGroup},
        {ControlKind::DropList, IDC_LIST, "", 10, 95, 80, 60, style::kTabStop},
        {ControlKind::CheckBox, IDC_CHECK, "Check", 100, 95, 60, 10, style::kTabStop},
        {ControlKind::Edit, IDC_NOTES, "", 100, 10, 90, 40,
         style::kMultiLine | style::kWantReturn | style::kTabStop},
        {ControlKind::DefButton, IDOK, "OK", 90, 130, 50, 14, style::kTabStop},
        {ControlKind::Button, IDCANCEL, "Cancel", 145, 130, 50, 14, style::kTabStop},
    };
    return t;
}

// Logs every event it gets, in order.
class LoggingDlg : public Dialog {
public:
    LoggingDlg() : Dialog(TestTemplate()) {}
    std::vector<std::string> log;
    int okCount = 0, cancelCount = 0;

    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable table(Dialog::GetHandlerTable(), {
            On(Notify::Change, IDC_NAME, &LoggingDlg::OnChangeName),
            On(Notify::KillFocus, IDC_NAME, &LoggingDlg::OnKillFocusName),
            On(Notify::Clicked, IDC_APPLY, &LoggingDlg::OnApply),
            On(Notify::SelChange, IDC_LIST, &LoggingDlg::OnSelChange),
            On(Notify::Clicked, IDC_CHECK, &LoggingDlg::OnCheck),
        });
        return &table;
    }
    bool OnInitDialog() override {
        auto& list = Item<ComboBox>(IDC_LIST);
        list.AddString("One");
        list.AddString("Two");
        list.SetCurSel(1);
        CheckDlgButton(IDC_CHECK, 1);
        SetDlgItemText(IDC_NAME, "initial");
        log.push_back("init");
        return true;
    }
    void OnOK() override {
        ++okCount;
        log.push_back("ok");
        Dialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCount;
        log.push_back("cancel");
        Dialog::OnCancel();
    }
    void OnChangeName() { log.push_back("change:" + GetDlgItemText(IDC_NAME)); }
    void OnKillFocusName() { log.push_back("killfocus"); }
    void OnApply() { log.push_back("apply"); }
    void OnSelChange() { log.push_back("selchange:" + std::to_string(Item<ComboBox>(IDC_LIST).GetCurSel())); }
    void OnCheck() { log.push_back("check:" + std::to_string(IsDlgButtonChecked(IDC_CHECK))); }
};

TEST(Controls, ProgramChangesRaiseOnlyChangeEvents) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        auto& dlg = static_cast<LoggingDlg&>(d);
        dlg.log.clear();
        dlg.SetDlgItemText(IDC_NAME, "abc");        // change event, also from the program
        dlg.Item<ComboBox>(IDC_LIST).SetCurSel(0);  // no selection event from the program
        dlg.CheckDlgButton(IDC_CHECK, 0);           // no click from the program
        dlg.SetDlgItemText(IDC_APPLY, "Go");        // a button's text raises nothing
        EXPECT_EQ(dlg.log, std::vector<std::string>{"change:abc"});
        EXPECT_EQ(dlg.GetDlgItemText(IDC_LIST), "One");
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The initialisation's own text change was handled while it ran.
    EXPECT_EQ(dlg.okCount + dlg.cancelCount, 0);
}

TEST(Controls, TypingLimitLimitsTypingOnly) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        Control& name = d.Item(IDC_NAME);
        name.LimitText(5);
        name.SetWindowText("longer than five");
        EXPECT_EQ(name.GetWindowText(), "longer than five");
        EXPECT_TRUE(name.UserType("abcdefgh"));
        EXPECT_EQ(name.GetWindowText(), "abcde");
        Control& code = d.Item(IDC_CODE);
        code.UserType("ab:1/x_\xe9");
        EXPECT_EQ(code.GetWindowText(), "AB:1/X_\xe9");  // capitals; other bytes unchanged
        code.ModifyStyle(0, style::kNumber);
        code.UserType("12a3");
        EXPECT_EQ(code.GetWindowText(), "123");
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
}

TEST(Controls, KillFocusRunsBeforeTheClickThatTookTheFocus) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        auto& dlg = static_cast<LoggingDlg&>(d);
        dlg.Item(IDC_NAME).UserType("typed");
        dlg.log.clear();
        dlg.UserClickButton(IDC_APPLY);
        EXPECT_EQ(dlg.log, (std::vector<std::string>{"killfocus", "apply"}));
        dlg.log.clear();
        dlg.Item<ComboBox>(IDC_LIST).UserSelect(0);
        dlg.UserClickButton(IDC_CHECK);
        EXPECT_EQ(dlg.log, (std::vector<std::string>{"selchange:0", "check:0"}));
        dlg.UserClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(Controls, DisabledOrHiddenControlsTakeNoUserAction) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        auto& dlg = static_cast<LoggingDlg&>(d);
        dlg.log.clear();
        dlg.EnableDlgItem(IDC_APPLY, false);
        EXPECT_FALSE(dlg.UserClickButton(IDC_APPLY));
        dlg.EnableDlgItem(IDC_APPLY, true);
        dlg.ShowDlgItem(IDC_APPLY, false);
        EXPECT_FALSE(dlg.Item(IDC_APPLY).IsWindowVisible());
        EXPECT_FALSE(dlg.UserClickButton(IDC_APPLY));
        EXPECT_TRUE(dlg.log.empty());
        // A disabled control keeps and shows its value.
        dlg.EnableDlgItem(IDC_LIST, false);
        EXPECT_FALSE(dlg.Item<ComboBox>(IDC_LIST).UserSelect(0));
        EXPECT_EQ(dlg.Item<ComboBox>(IDC_LIST).GetCurSel(), 1);
        dlg.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(Controls, EnterRunsTheDefaultButtonEscapeAndCloseBoxRunCancel) {
    testsupport::HeadlessUi ui;
    {
        LoggingDlg dlg;
        ui.ExpectModal(9001, [](Dialog& d) {
            d.Item(IDC_NAME).UserFocus();
            EXPECT_TRUE(d.UserPressEnter());
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.okCount, 1);
    }
    {
        LoggingDlg dlg;
        ui.ExpectModal(9001, [](Dialog& d) {
            d.Item(IDC_NOTES).UserFocus();  // a multi-line edit keeps Enter
            d.UserPressEnter();
            EXPECT_FALSE(d.IsEnded());
            d.UserPressEscape();
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.cancelCount, 1);
        EXPECT_EQ(dlg.okCount, 0);
    }
    {
        LoggingDlg dlg;
        ui.ExpectModal(9001, [](Dialog& d) { d.UserClose(); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.cancelCount, 1);
    }
}

TEST(Controls, RadioButtonsOfAGroupExcludeEachOther) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        d.CheckDlgButton(IDC_OTHER_RADIO, 1);
        d.UserClickButton(IDC_RADIO_A);
        d.UserClickButton(IDC_RADIO_C);
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_RADIO_A, IDC_RADIO_C), IDC_RADIO_C);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_RADIO_A), 0);
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_OTHER_RADIO), 1);  // another group
        d.CheckRadioButton(IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_B);
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_RADIO_A, IDC_RADIO_C), IDC_RADIO_B);
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
}

TEST(Controls, ListEntriesKeepTheirDataAndOrder) {
    Window w;
    auto& sorted = dynamic_cast<ListControl&>(
        w.AddControl(ControlKind::DropList, 1, "", Rect{}, style::kSort));
    for (const char* s : {"pear", "Apple", "fig"}) sorted.SetItemData(sorted.AddString(s), 7);
    EXPECT_EQ(sorted.GetLBText(0), "Apple");
    EXPECT_EQ(sorted.GetLBText(2), "pear");
    EXPECT_EQ(sorted.FindStringExact(-1, "FIG"), 1);
    EXPECT_EQ(sorted.FindStringExact(-1, "fi"), LB_ERR);
    EXPECT_EQ(sorted.SelectString(-1, "pe"), 2);
    EXPECT_EQ(sorted.GetWindowText(), "pear");

    auto& plain = dynamic_cast<ListControl&>(w.AddControl(ControlKind::DropList, 2, "", Rect{}));
    for (int v : {9600, 19200, 38400}) plain.SetItemData(plain.AddString(std::to_string(v)), std::uint32_t(v));
    plain.SetCurSel(2);
    EXPECT_EQ(plain.GetItemData(plain.GetCurSel()), 38400u);
    plain.DeleteString(0);  // the selection follows its entry
    EXPECT_EQ(plain.GetCurSel(), 1);
    EXPECT_EQ(plain.GetItemData(1), 38400u);
    plain.DeleteString(1);  // the selected entry goes: nothing selected
    EXPECT_EQ(plain.GetCurSel(), -1);
    EXPECT_EQ(plain.GetWindowText(), "");
    EXPECT_EQ(plain.SetCurSel(5), LB_ERR);
    EXPECT_EQ(plain.GetItemData(5), 0xFFFFFFFFu);
    EXPECT_EQ(plain.InsertString(-1, "57600"), 1);
}

TEST(Controls, ListViewColumnsRowsAndCells) {
    Window w;
    auto& list = dynamic_cast<ListView&>(w.AddControl(ControlKind::ListView, 1, "", Rect{0, 0, 600, 300}));
    list.InsertColumn(0, "Block No.", LVCFMT_LEFT, 70);
    list.InsertColumn(1, "# Words/Bits", LVCFMT_LEFT, 75);
    list.InsertColumn(2, "Comment", LVCFMT_LEFT, 60);
    for (int r = 0; r < 3; ++r) {
        list.InsertItem(r, std::to_string(r + 1));
        list.SetItemText(r, 1, "w" + std::to_string(r));
        list.SetItemText(r, 2, "c" + std::to_string(r));
    }
    list.DeleteColumn(1);  // sub-items of later columns move left
    EXPECT_EQ(list.GetItemText(2, 1), "c2");
    EXPECT_EQ(list.GetColumnHeading(1), "Comment");
    list.InsertItem(1, "new");
    EXPECT_EQ(list.GetItemText(2, 0), "2");
    EXPECT_EQ(list.GetItemText(1, 1), "");
    EXPECT_FALSE(list.SetItemText(9, 0, "x"));

    list.SetMetrics(20, 16);
    const Rect cell = list.GetSubItemRect(2, 1);
    EXPECT_EQ(cell, (Rect{70, 52, 130, 68}));
    int row = 0, col = 0;
    list.HitTest(75, 60, row, col);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 1);
    list.HitTest(75, 10, row, col);  // the header
    EXPECT_EQ(row, -1);
}

// Several rows: a click selects one, Ctrl toggles one more, Shift takes the range from the
// last plain or Ctrl click; a list of single rows ignores the keys. Scrolled sideways, the
// cells and the hit test move with the offset.
TEST(Controls, ListViewSeveralRowsAndSidewaysScroll) {
    testsupport::HeadlessUi ui;
    LoggingDlg dlg;
    ui.ExpectModal(9001, [](Dialog& d) {
        auto& list = dynamic_cast<ListView&>(
            d.AddControl(ControlKind::ListView, 4242, "", Rect{0, 0, 300, 200}, style::kExtendedSel));
        list.InsertColumn(0, "A", LVCFMT_LEFT, 70);
        list.InsertColumn(1, "B", LVCFMT_LEFT, 80);
        for (int r = 0; r < 6; ++r) list.InsertItem(r, "r");
        auto selected = [&] {
            std::vector<int> rows;
            for (int r = 0; r < 6; ++r)
                if (list.IsItemSelected(r)) rows.push_back(r);
            return rows;
        };
        list.UserClickCell(1, 0);
        list.UserClickCell(3, 0, MK_CONTROL);
        EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
        list.UserClickCell(5, 0, MK_SHIFT);
        EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5}));
        list.UserClickCell(3, 0, MK_CONTROL);
        EXPECT_EQ(selected(), (std::vector<int>{4, 5}));
        list.ModifyStyle(style::kExtendedSel, 0);
        list.UserClickCell(2, 0, MK_SHIFT);
        EXPECT_EQ(selected(), (std::vector<int>{2}));

        list.SetMetrics(20, 16);
        EXPECT_TRUE(list.UserScrollX(50));
        EXPECT_EQ(list.GetSubItemRect(0, 1), (Rect{20, 20, 100, 36}));
        int row = -1, col = -1;
        list.HitTest(25, 30, row, col);
        EXPECT_EQ(row, 0);
        EXPECT_EQ(col, 1);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
}

TEST(Controls, TreeItemsAndUserSelection) {
    testsupport::HeadlessUi ui;
    Window w;
    auto& tree = dynamic_cast<TreeView&>(w.AddControl(ControlKind::Tree, 1, "", Rect{}));
    const HTREEITEM root = tree.InsertItem("Product Selection");
    const HTREEITEM b = tree.InsertItem("B", root);
    const HTREEITEM a = tree.InsertItem("A", root, TVI_FIRST);
    const HTREEITEM b1 = tree.InsertItem("B1", b);
    EXPECT_EQ(tree.GetChildItem(root), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a), b);
    EXPECT_EQ(tree.GetParentItem(b1), b);
    tree.SelectItem(b1);
    EXPECT_TRUE(tree.DeleteItem(b));  // the subtree and the selection go with it
    EXPECT_FALSE(tree.Exists(b1));
    EXPECT_EQ(tree.GetSelectedItem(), 0);
    EXPECT_EQ(tree.GetCount(), 2);
    // A window that is not running takes no user action.
    EXPECT_FALSE(tree.UserSelect(a));
}

TEST(Controls, HandlerTablesChainToTheBaseClass) {
    struct Base : CmdTarget {
        int base = 0;
        void OnBase() { ++base; }
        const HandlerTable* GetHandlerTable() const override {
            static const HandlerTable t(CmdTarget::GetHandlerTable(),
                                        {On(Notify::Command, 10, &Base::OnBase)});
            return &t;
        }
    };
    struct Derived : Base {
        int derived = 0, anyKey = 0;
        void OnDerived() { ++derived; }
        void OnKey(const Event& e) { anyKey += e.key; }
        const HandlerTable* GetHandlerTable() const override {
            static const HandlerTable t(Base::GetHandlerTable(),
                                        {On(Notify::Command, 11, &Derived::OnDerived),
                                         On(Notify::KeyDown, kAnyId, &Derived::OnKey)});
            return &t;
        }
    };
    Derived d;
    EXPECT_TRUE(d.OnCommand(10));
    EXPECT_TRUE(d.OnCommand(11));
    EXPECT_FALSE(d.OnCommand(12));
    EXPECT_TRUE(d.Dispatch(Event{Notify::KeyDown, 55, VK_TAB}));
    EXPECT_EQ(d.base, 1);
    EXPECT_EQ(d.derived, 1);
    EXPECT_EQ(d.anyKey, VK_TAB);
}

}  // namespace
