// Dialog models shown as real Qt widgets: typing, clicks, keys, focus, timers, boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "qt/QtBackend.h"
#include "qt/QtText.h"
#include "ui/Dialog.h"

namespace {

using namespace ui;

constexpr int IDC_NAME = 100, IDC_CODE = 101, IDC_APPLY = 102, IDC_LIST = 103, IDC_LABEL = 104;

DialogTemplate BindingTemplate() {
    DialogTemplate t;
    t.id = 9300;
    t.caption = "Binding \xe9t\xe9";  // Windows-1252 text
    t.cx = 220;
    t.cy = 110;
    t.controls = {
        {ControlKind::Label, IDC_LABEL, "&Name :", 7, 9, 40, 9, 0},
        {ControlKind::Edit, IDC_NAME, "", 50, 7, 100, 13, style::kTabStop | style::kBorder},
        {ControlKind::Edit, IDC_CODE, "", 50, 24, 100, 13, style::kTabStop | style::kUpperCase},
        {ControlKind::Button, IDC_APPLY, "&Apply", 160, 7, 50, 14, style::kTabStop},
        {ControlKind::DropList, IDC_LIST, "", 50, 42, 100, 60, style::kTabStop},
        {ControlKind::DefButton, IDOK, "OK", 105, 89, 50, 14, style::kTabStop},
        {ControlKind::Button, IDCANCEL, "Cancel", 160, 89, 50, 14, style::kTabStop},
    };
    return t;
}

class BoundDlg : public Dialog {
public:
    BoundDlg() : Dialog(BindingTemplate()) {}
    std::vector<std::string> log;
    const HandlerTable* GetHandlerTable() const override {
        static const HandlerTable t(Dialog::GetHandlerTable(), {
            On(Notify::KillFocus, IDC_NAME, &BoundDlg::OnKillName),
            On(Notify::Clicked, IDC_APPLY, &BoundDlg::OnApply),
            On(Notify::SelChange, IDC_LIST, &BoundDlg::OnSel),
        });
        return &t;
    }
    bool OnInitDialog() override {
        auto& list = Item<ComboBox>(IDC_LIST);
        list.AddString("9600");
        list.AddString("19200");
        list.SetCurSel(0);
        Item(IDC_NAME).LimitText(6);
        return true;
    }
    void OnKillName() { log.push_back("kill:" + GetDlgItemText(IDC_NAME)); }
    void OnApply() {
        log.push_back("apply");
        SetDlgItemText(IDC_LABEL, "Applied");
    }
    void OnSel() { log.push_back("sel:" + GetDlgItemText(IDC_LIST)); }
};

template <class W>
W* Find(const char* text = nullptr) {
    QWidget* top = QApplication::activeModalWidget();
    if (!top) return nullptr;
    for (W* w : top->findChildren<W*>()) {
        if (!text) return w;
        if constexpr (std::is_same_v<W, QPushButton>)
            if (w->text() == QString::fromUtf8(text)) return w;
    }
    return nullptr;
}

TEST(QtBinding, PersonActsOnRealWidgetsAndTheModelFollows) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    BoundDlg dlg;
    backend.SetShownHook([&](Dialog& d) {
        QWidget* top = QApplication::activeModalWidget();
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->windowTitle(), QString::fromUtf8("Binding été"));
        auto edits = top->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        edits[0]->setFocus();
        QTest::keyClicks(edits[0], "abcdefgh");  // limited to 6 by the model
        EXPECT_EQ(d.GetDlgItemText(IDC_NAME), "abcdef");
        QTest::mouseClick(Find<QPushButton>("&Apply"), Qt::LeftButton);
        QTest::keyClicks(edits[1], "ab1");
        EXPECT_EQ(d.GetDlgItemText(IDC_CODE), "AB1");
        auto* label = top->findChildren<QLabel*>().front();
        EXPECT_EQ(label->text(), QString("Applied"));
        // The program's changes reach the widgets.
        d.SetDlgItemText(IDC_NAME, "set by program, longer than the limit");
        EXPECT_EQ(edits[0]->text(), QString("set by program, longer than the limit"));
        d.EnableDlgItem(IDC_APPLY, false);
        EXPECT_FALSE(Find<QPushButton>("&Apply")->isEnabled());
        auto* combo = top->findChild<QComboBox*>();
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->count(), 2);
        QTest::keyClick(edits[1], Qt::Key_Return);  // Enter: the default button
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"kill:abcdef", "apply"}));
    SetBackend(nullptr);
}

TEST(QtBinding, EscapeAndCloseBoxCancelTimersRunMessageBoxesAnswered) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    {
        BoundDlg dlg;
        backend.SetShownHook([](Dialog&) {
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        BoundDlg dlg;
        backend.SetShownHook([](Dialog&) { QApplication::activeModalWidget()->close(); });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        struct Ticking : BoundDlg {
            int ticks = 0;
            bool OnInitDialog() override {
                SetTimer(3, 1);
                return BoundDlg::OnInitDialog();
            }
            void OnTimer(int id) override {
                if (++ticks == 3) {
                    KillTimer(id);
                    EndDialog(0);
                }
            }
        } dlg;
        backend.SetShownHook(nullptr);
        EXPECT_EQ(dlg.DoModal(), 0);
        EXPECT_EQ(dlg.ticks, 3);
    }
    std::vector<std::string> asked;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned flags) {
        asked.push_back(text);
        return (flags & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    });
    EXPECT_EQ(MessageBox("Slave Driver on both side", "", MB_YESNO | MB_ICONHAND), IDYES);
    EXPECT_EQ(asked, std::vector<std::string>{"Slave Driver on both side"});
    SetClipboardText("\x80 5");
    EXPECT_EQ(GetClipboardText(), "\x80 5");
    SetBackend(nullptr);
}

// A box with a short text is still wide enough for its caption in a title bar: the
// "CRC Mismatch" box (the program's name as caption) read "Q...".
TEST(QtBinding, AMessageBoxIsWideEnoughForItsCaption) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const std::pair<const char*, unsigned> boxes[] = {
        {"", MB_OK}, {"Invalid Bit", MB_OK}, {"Communication Setting of the three-port product", MB_OK},
        {"Communication Setting of the three-port product", MB_OK | MB_ICONEXCLAMATION},
        {"Communication Setting of the three-port product", MB_YESNO | MB_ICONQUESTION}};
    for (const auto& [caption, flags] : boxes) {
        int width = 0;
        QString title;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            width = box->width();
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(MessageBox("CRC Mismatch", caption, flags), (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
        ASSERT_FALSE(title.isEmpty()) << caption;
        // The title, and room for the bar's icon and buttons beside it.
        EXPECT_GE(width, QFontMetrics(titleFont).horizontalAdvance(title) + 120) << caption;
    }
    SetBackend(nullptr);
}

TEST(QtBinding, ScreenshotsShowTheDialog) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    backend.SetScreenshotFolder(QUORVEX_SHOT_DIR);
    backend.SetAutoClose(true);
    BoundDlg dlg;
    dlg.DoModal();
    ASSERT_EQ(backend.Screenshots().size(), 1u);
    QImage img(QString::fromStdString(backend.Screenshots()[0]));
    ASSERT_FALSE(img.isNull());
    EXPECT_GT(img.width(), 200);
    // Text is drawn: the picture holds dark pixels as well as the light background.
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 80) ++dark;
    EXPECT_GT(dark, 50);
    SetBackend(nullptr);
}

TEST(QtBinding, MultiLineEditsTakeEnterAndKeepWindowsLineEnds) {
    qtbind::QtBackend backend;
    SetBackend(&backend);
    DialogTemplate t = BindingTemplate();
    t.controls.push_back({ControlKind::Edit, 110, "", 7, 60, 90, 24,
                          style::kMultiLine | style::kWantReturn | style::kTabStop});
    Dialog dlg(t);
    backend.SetShownHook([](Dialog& d) {
        d.Item(110).LimitText(8);
        auto* edit = QApplication::activeModalWidget()->findChild<QPlainTextEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QTest::keyClicks(edit, "ab");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "cdefgh");  // "ab\r\ncdef" is the limit of 8
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(d.GetDlgItemText(110), "ab\r\ncdef");
        d.SetDlgItemText(110, "one\r\ntwo");
        EXPECT_EQ(edit->toPlainText(), QString("one\ntwo"));
        d.UserClose();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    SetBackend(nullptr);
}

TEST(QtText, Windows1252BothWays) {
    const std::string all = "\x80\x8a\x99\xe9\xff A";
    EXPECT_EQ(qtbind::FromAnsi(all), QString::fromUtf8("€Š™éÿ A"));
    EXPECT_EQ(qtbind::ToAnsi(qtbind::FromAnsi(all)), all);
    EXPECT_EQ(qtbind::ToAnsi(QString::fromUtf8("漢")), "?");
    EXPECT_EQ(qtbind::LabelText("&PLC  Specific && Data"), QString("PLC  Specific & Data"));
}

}  // namespace
