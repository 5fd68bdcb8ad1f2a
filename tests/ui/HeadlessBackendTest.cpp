// Driving screens with no display: scripts, records, timers, sheets, files, bitmaps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "ui/Bitmap.h"
#include "ui/PropertySheet.h"

namespace {

using namespace ui;

constexpr int IDC_OPEN_INNER = 200;

DialogTemplate Simple(int id, const std::string& caption) {
    DialogTemplate t;
    t.id = id;
    t.caption = caption;
    t.cx = 100;
    t.cy = 60;
    t.controls = {
        {ControlKind::Button, IDC_OPEN_INNER, "Inner", 5, 5, 40, 14, style::kTabStop},
        {ControlKind::DefButton, IDOK, "OK", 5, 40, 40, 14, style::kTabStop},
        {ControlKind::Button, IDCANCEL, "Cancel", 50, 40, 40, 14, style::kTabStop},
    };
    return t;
}

class OuterDlg : public Dialog {
public:
    OuterDlg() : Dialog(Simple(9100, "Outer")) {}
    int innerResult = 0, boxAnswer = 0;
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(Dialog::GetHandlerTable(),
                                    {On(Notify::Clicked, IDC_OPEN_INNER, &OuterDlg::OnInner)});
        return &t;
    }
    void OnInner() {
        Dialog inner(Simple(9101, "Inner"), this);
        innerResult = inner.DoModal();
        boxAnswer = MessageBox("Do you want to save project?", "Quorvex", MB_YESNOCANCEL | MB_ICONQUESTION);
    }
};

TEST(HeadlessBackend, ScriptsNestedDialogsAndRecordsMessageBoxes) {
    testsupport::HeadlessUi ui;
    OuterDlg outer;
    ui.ExpectModal(9100, [](Dialog& d) {
        d.UserClickButton(IDC_OPEN_INNER);
        d.UserClickButton(IDOK);
    });
    ui.ExpectModal(9101, [](Dialog& d) { d.UserPressEscape(); });
    ui.AnswerMessageBox(IDNO, "save project");
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.innerResult, IDCANCEL);
    EXPECT_EQ(outer.boxAnswer, IDNO);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Do you want to save project?");
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Quorvex");
    EXPECT_EQ(ui.MessageBoxes()[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION);
    ASSERT_EQ(ui.Modals().size(), 2u);
    EXPECT_EQ(ui.Modals()[0].templateId, 9101);  // the inner one ended first
    // A plain OK box needs no script.
    EXPECT_EQ(MessageBox("Load Image Failed"), IDOK);
    EXPECT_EQ(ui.MessageBoxes().back().text, "Load Image Failed");
    // A box without a caption of its own carries the program's name; one with a caption keeps it.
    EXPECT_EQ(ui.MessageBoxes().back().caption, "Quorvex");
    EXPECT_EQ(MessageBox("To use this Feature please select Product from the list.", "Select Product"), IDOK);
    EXPECT_EQ(ui.MessageBoxes().back().caption, "Select Product");
}

TEST(HeadlessBackend, AnUnscriptedBlockFailsAndNeverHangs) {
    HeadlessBackend ui;
    std::vector<std::string> failures;
    ui.SetFailureHandler([&](const std::string& w) { failures.push_back(w); });
    ui.Install();
    {
        Dialog dlg(Simple(9102, "Waits"));
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(MessageBox("Sure?", "", MB_YESNO), IDNO);
    {
        Dialog dlg(Simple(9103, "Step leaves it open"));
        ui.ExpectModal(9103, [](Dialog&) {});
        dlg.DoModal();
    }
    ui.ExpectModal(9999, nullptr);
    {
        Dialog dlg(Simple(9102, "Waits"));
        dlg.DoModal();
    }
    FileDialog fd(true, "prj", "project", 0, "Project Files (*.prj)|*.prj||");
    EXPECT_EQ(fd.DoModal(), IDCANCEL);  // the script still expects dialog 9999
    ASSERT_EQ(failures.size(), 5u);
    EXPECT_NE(failures[0].find("dialog 9102 \"Waits\" waits for the user"), std::string::npos);
    EXPECT_NE(failures[1].find("\"Sure?\" asks for an answer"), std::string::npos);
    EXPECT_NE(failures[2].find("still open after its scripted step"), std::string::npos);
    EXPECT_NE(failures[3].find("expects dialog 9999"), std::string::npos);
    EXPECT_NE(failures[4].find("file dialog"), std::string::npos);
}

class TimerDlg : public Dialog {
public:
    TimerDlg() : Dialog(Simple(9104, "Timer")) {}
    std::vector<int> ticks;
    bool OnInitDialog() override {
        SetTimer(7, 300);
        SetTimer(3, 1000);
        return true;
    }
    void OnTimer(int id) override {
        ticks.push_back(id);
        if (id == 3) {
            KillTimer(3);
            EndDialog(0);
        }
    }
};

TEST(HeadlessBackend, ADialogWaitingOnItsTimersLetsVirtualTimePass) {
    testsupport::HeadlessUi ui;
    TimerDlg dlg;
    EXPECT_EQ(dlg.DoModal(), 0);
    EXPECT_EQ(dlg.ticks, (std::vector<int>{7, 7, 7, 3}));
    EXPECT_EQ(ui.Now(), 1000);
    EXPECT_FALSE(ui.HasTimer(dlg, 7));  // a closed dialog's timers are gone

    // A step that ends the dialog first wins over its timers.
    TimerDlg clicked;
    ui.ExpectModal(9104, [](Dialog& d) { d.UserClickButton(IDOK); });
    EXPECT_EQ(clicked.DoModal(), IDOK);
    EXPECT_TRUE(clicked.ticks.empty());

    // Timers of windows that are not modal run when a test advances the time.
    Window frame;
    struct Counter : Window {
        int n = 0;
        void OnTimer(int) override { ++n; }
    } counter;
    counter.SetTimer(2, 100);
    ui.AdvanceTime(350);
    EXPECT_EQ(counter.n, 3);
}

class Page : public PropertyPage {
public:
    Page(int id, const std::string& caption, std::vector<std::string>& log)
        : PropertyPage(0, caption), m_log(log) {
        MutableTemplate() = Simple(id, caption);
    }
    bool allowLeave = true;
    bool OnInitDialog() override {
        m_log.push_back("init " + GetPageCaption());
        return true;
    }
    bool OnSetActive() override {
        m_log.push_back("show " + GetPageCaption());
        return true;
    }
    bool OnKillActive() override {
        m_log.push_back("leave " + GetPageCaption());
        return allowLeave;
    }

private:
    std::vector<std::string>& m_log;
};

TEST(HeadlessBackend, PropertySheetPagesAreInitialisedWhenShown) {
    testsupport::HeadlessUi ui;
    std::vector<std::string> log;
    Page general(9201, "General", log), first(9202, "Master 1", log);
    PropertySheet sheet("Communication Setting");
    sheet.m_psh_dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&general);
    sheet.AddPage(&first);
    ui.ExpectModal(0, [&](Dialog& d) {
        auto& s = static_cast<PropertySheet&>(d);
        EXPECT_EQ(d.GetDlgItem(ID_APPLY_NOW), nullptr);
        EXPECT_EQ(s.Item<ListControl>(AFX_IDC_TAB_CONTROL).GetLBText(1), "Master 1");
        EXPECT_TRUE(s.UserSelectPage(1));
        first.allowLeave = false;
        EXPECT_FALSE(s.UserSelectPage(0));  // the page refuses to be left
        EXPECT_EQ(s.GetActiveIndex(), 1);
        first.allowLeave = true;
        s.RemovePage(&first);  // the active page goes: the one before shows
        EXPECT_EQ(s.GetActivePage(), &general);
        s.AddPage(&first);
        s.UserSelectPage(1);  // shown again: initialised afresh
        s.UserClose();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(log, (std::vector<std::string>{"init General", "show General", "leave General",
                                             "init Master 1", "show Master 1", "leave Master 1",
                                             "show General", "leave General", "init Master 1",
                                             "show Master 1"}));
}

TEST(HeadlessBackend, FileDialogsClipboardAndWaitCursor) {
    testsupport::HeadlessUi ui;
    FileDialog save(false, "prj", "project", OFN_OVERWRITEPROMPT,
                    "Project Files (*.prj)|*.prj|All Files (*.*)|*.*||");
    ui.AnswerFileDialog("/tmp/Projects/first");
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName(), "/tmp/Projects/first.prj");
    EXPECT_EQ(save.GetFileName(), "first.prj");
    ASSERT_EQ(save.FilterPairs().size(), 2u);
    EXPECT_EQ(save.FilterPairs()[1].second, "*.*");
    ui.AnswerFileDialog("");
    EXPECT_EQ(save.DoModal(), IDCANCEL);

    SetClipboardText("1\t2");
    EXPECT_EQ(GetClipboardText(), "1\t2");
    {
        WaitCursor outer;
        WaitCursor inner;
        EXPECT_TRUE(ui.WaitCursorOn());
    }
    EXPECT_FALSE(ui.WaitCursorOn());
    EXPECT_EQ(ui.WaitCursorChanges(), 2);
}

TEST(Bitmap, ReadsWhatItWritesAndPalettedFiles) {
    Bitmap b;
    b.width = 3;
    b.height = 2;
    b.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF123456, 0xFFFFFFFF, 0xFF000000};
    auto back = Bitmap::FromBmpBytes(b.ToBmpBytes());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, b.pixels);

    // 2 x 2, 8 bits per pixel, bottom-up, palette of two colours.
    std::string bmp = "BM";
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bmp += char((v >> (8 * i)) & 0xFF); };
    auto u16 = [&](std::uint32_t v) { for (int i = 0; i < 2; ++i) bmp += char((v >> (8 * i)) & 0xFF); };
    u32(0); u32(0); u32(14 + 40 + 8);
    u32(40); u32(2); u32(2); u16(1); u16(8); u32(0); u32(8); u32(0); u32(0); u32(2); u32(0);
    bmp += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // red, blue (B, G, R, 0)
    bmp += std::string("\x00\x01\x00\x00\x01\x00\x00\x00", 8);  // bottom row, then top row
    auto p = Bitmap::FromBmpBytes(bmp);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->At(0, 0), 0xFF0000FFu);  // top-left: blue
    EXPECT_EQ(p->At(1, 1), 0xFF0000FFu);
    EXPECT_EQ(p->At(0, 1), 0xFFFF0000u);

    EXPECT_FALSE(Bitmap::FromBmpBytes("BM too short"));
    EXPECT_FALSE(Bitmap::FromBmpBytes(bmp.substr(0, bmp.size() - 3)));  // rows cut off
    EXPECT_FALSE(Bitmap::LoadFile("/nonexistent/SplashScreen.bmp"));
}

}  // namespace
