// The control-word dialogs as real Qt windows on the sample tree's QVX-S7 (Modbus RTU
// Master on COM1, DF1 Full Duplex on COM2): typing, leaving, stepping and the radios
// through real key and mouse events, what "&Ok" stores, and screenshots of both dialogs
// in both modes (build folder: tests/qt_settings_cw/screenshots).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>

#include "QtTestSupport.h"
#include "TestSupport.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "qt/QtBackend.h"
#include "qt/QtWindows.h"
#include "res/SettingsResource.h"
#include "settings/ControlWordExDlg.h"
#include "settings/ControlWordSetting.h"

namespace {

std::string Shot(const std::string& name) {
    QDir().mkpath(QUORVEX_SHOT_DIR);
    return std::string(QUORVEX_SHOT_DIR) + "/" + name;
}

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The widget that shows the dialog's control with this id.
QWidget* Widget(ui::Dialog& d, int id) {
    QWidget* top = QApplication::activeModalWidget();
    if (!top) return nullptr;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        ui::Control* c = qtbind::ControlOfWidget(w);
        if (c && c->GetParent() == &d && c->GetDlgCtrlID() == id && qtbind::ControlOfWidget(w->parentWidget()) != c)
            return w;
    }
    return nullptr;
}

void ClickOn(ui::Dialog& d, int id) {
    QWidget* w = Widget(d, id);
    ASSERT_NE(w, nullptr) << id;
    ASSERT_TRUE(w->isVisible()) << id;
    QTest::mouseClick(w, Qt::LeftButton);
    Settle();
}

void TypeInto(ui::Dialog& d, int id, const char* keys) {
    QWidget* w = Widget(d, id);
    ASSERT_NE(w, nullptr) << id;
    QTest::mouseClick(w, Qt::LeftButton);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w, keys);
    Settle();
}

class QtControlWord : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    qtbind::QtBackend backend;

    void SetUp() override {
        ui::SetBackend(&backend);
        g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-S7";
        g_nDeviceId = g_nDeviceIdAlt = 82;
        g_ProjectSettings = CProjectSettings();
        g_ProjectSettings.g_nCtrlWordStation = g_ProjectSettings.g_nCtrlWordWords = 1;
        g_bProjectModified = 0;
        g_bCtrlWordDlgOK = 0;
        CPlcRegisterTables& t = g_PlcRegisterTables;
        t.ResetProject();
        t.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-S7", "101");
        t.g_strPlc1Section = "Standard";
        t.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-S7", "102");
        t.g_strPlc2Section = "Series 5";
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
    }
    void TearDown() override {
        backend.SetShownHook(nullptr);
        g_PlcRegisterTables.ResetProject();
        ui::SetBackend(nullptr);
    }
};

TEST_F(QtControlWord, NewerControlWordTypedSteppedAndStored) {
    bool shown = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        shown = true;
        EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_PLC1_ADDRESS), "H0001");
        TypeInto(d, IDC_CW_PLC1_NUMBER, "12");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_CTRL_WORD), "H0012");
        ClickOn(d, IDC_CW_COM2);  // leaving the field fills it
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_PLC1_NUMBER), "0012");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_CTRL_WORD), "N007:000");
        TypeInto(d, IDC_CW_PLC2_COLON, "5x");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_PLC2_COLON), "5");
        ClickOn(d, IDC_CW_PLC2_NUMBER_UP);
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_PLC2_NUMBER), "008");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_CTRL_WORD), "N008:005");
        ClickOn(d, IDC_CW_ENABLE1);
        TypeInto(d, IDC_CW_STATION_ID, "3");
        TypeInto(d, IDC_CW_WORDS, "2");
        ClickOn(d, IDC_CW_PLC2_REGISTER);  // leave the word count
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // close the list again
        Settle();
        EXPECT_TRUE(backend.GrabDialog(d, Shot("control-word-newer.png")));
        ClickOn(d, IDC_CW_OK);
    });
    RunControlWordDialog(true, 1);
    Settle();
    EXPECT_TRUE(shown);
    const CProjectSettings& s = g_ProjectSettings;
    EXPECT_EQ(s.g_strCtrlWordAddr, "N008:005");
    EXPECT_EQ(s.g_nCtrlWordSide, 1);
    EXPECT_EQ(s.g_bCtrlWordEnabled, 1);
    EXPECT_EQ(s.g_nCtrlWordStation, 3);
    EXPECT_EQ(s.g_nCtrlWordWords, 2);
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(g_bCtrlWordConfirmed, 1);
    EXPECT_FALSE(QImage(QString::fromStdString(Shot("control-word-newer.png"))).isNull());
}

TEST_F(QtControlWord, NewerErrorBitOfAWordRegister) {
    bool shown = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        shown = true;
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        auto& list = d.Item<ui::ListControl>(IDC_CW_PLC1_REGISTER);
        list.UserSelect(list.FindStringExact(-1, "Holding Register"));
        Settle();
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT1), "H0001_0");
        QWidget* bit = Widget(d, IDC_CW_PLC1_BIT);
        ASSERT_NE(bit, nullptr);
        EXPECT_TRUE(bit->isVisible());
        for (int i = 0; i < 3; ++i) ClickOn(d, IDC_CW_PLC1_BIT_UP);
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT1), "H0001_3");
        ClickOn(d, IDC_CW_ENABLE1);
        EXPECT_TRUE(backend.GrabDialog(d, Shot("error-bits-newer.png")));
        ClickOn(d, IDC_CW_OK);
    });
    RunControlWordDialog(true, 2);
    Settle();
    EXPECT_TRUE(shown);
    EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr1, "H0001");
    EXPECT_EQ(g_ProjectSettings.g_nErrBit1, 3);
    EXPECT_EQ(g_ProjectSettings.g_bErrBit1Enabled, 1);
    EXPECT_FALSE(QImage(QString::fromStdString(Shot("error-bits-newer.png"))).isNull());
}

// The station ID typed as 300, or an error bit as 20, then Cancel (the button with id 1) pressed
// where it is drawn, Escape or the close box: the dialog closes at that first press and stores
// nothing.
TEST_F(QtControlWord, NewerCancelClosesAtTheFirstPressAfterARefusal) {
    enum Gesture { Cancel, Escape, CloseBox };
    for (const int mode : {1, 2})
        for (const Gesture gesture : {Cancel, Escape, CloseBox}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + " gesture " + std::to_string(gesture));
            std::vector<std::string> texts;
            bool shownAfter = true;
            backend.SetShownHook([&](ui::Dialog& d) {
                QWidget* win = QApplication::activeModalWidget();
                if (mode == 1) {
                    TypeInto(d, IDC_CW_STATION_ID, "300");
                } else {
                    auto& list = d.Item<ui::ListControl>(IDC_CW_PLC1_REGISTER);
                    list.UserSelect(list.FindStringExact(-1, "Holding Register"));
                    Settle();
                    TypeInto(d, IDC_CW_PLC1_BIT, "20");
                }
                QWidget* cancel = Widget(d, ui::IDOK);
                ASSERT_NE(cancel, nullptr);
                switch (gesture) {
                    case Cancel: texts = testsupport::PressThroughBoxes(cancel); break;
                    case Escape:
                        texts = testsupport::AnswerBoxes([&] { QTest::keyClick(win->windowHandle(), Qt::Key_Escape); });
                        break;
                    case CloseBox: texts = testsupport::AnswerBoxes([&] { win->windowHandle()->close(); }); break;
                }
                Settle();
                shownAfter = backend.GrabDialog(d, Shot("control-word-after-first-press.png"));
                if (!d.IsEnded()) d.EndDialog(ui::IDABORT);
            });
            RunControlWordDialog(true, mode);
            Settle();
            EXPECT_FALSE(shownAfter);
            if (gesture == Cancel)
                EXPECT_EQ(texts, std::vector<std::string>{mode == 1 ? "Station ID Range is 1-255.Please enter valid data."
                                                                    : "Bit Range is 0-15.Please enter valid data."});
            EXPECT_EQ(g_ProjectSettings.g_nCtrlWordStation, 1);
            EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr1, "");
            EXPECT_EQ(g_bCtrlWordDlgOK, 0);
        }
}

// The buttons drawn as bitmaps keep their mnemonics: Alt+C with the focus in a field presses
// "&Cancel" (nothing stored, nothing typed), Alt+O presses "&Ok", in both dialogs.
TEST_F(QtControlWord, AltAndAButtonsLetterPressTheBitmapButton) {
    for (const bool newer : {true, false})
        for (const Qt::Key key : {Qt::Key_C, Qt::Key_O}) {
            SCOPED_TRACE(std::string(newer ? "newer " : "older ") + (key == Qt::Key_C ? "Alt+C" : "Alt+O"));
            g_ProjectSettings.g_strCtrlWordAddr.clear();
            g_bCtrlWordDlgOK = 1;
            bool ended = false;
            std::string typed;
            backend.SetShownHook([&](ui::Dialog& d) {
                TypeInto(d, IDC_CW_PLC1_NUMBER, "12");
                ClickOn(d, IDC_CW_COM1);
                TypeInto(d, IDC_CW_PLC1_NUMBER, "34");
                QTest::keyClick(QApplication::activeModalWidget()->windowHandle(), key, Qt::AltModifier);
                QTest::qWait(300);  // a mnemonic's click shows the button pressed for a moment first
                ended = d.IsEnded();
                if (!ended) {
                    typed = d.GetDlgItemText(IDC_CW_PLC1_NUMBER);
                    d.EndDialog(ui::IDABORT);
                }
            });
            RunControlWordDialog(newer, 1);
            Settle();
            EXPECT_TRUE(ended) << typed;
            EXPECT_EQ(g_ProjectSettings.g_strCtrlWordAddr, key == Qt::Key_C ? "" : "H0034");
            if (newer) EXPECT_EQ(g_bCtrlWordDlgOK, key == Qt::Key_C ? 0 : 1);
        }
}

TEST_F(QtControlWord, OlderDialogInBothModesClosesWithEscape) {
    g_ProjectSettings.g_strErrBitAddr2 = "NB07:000/15";
    int shown = 0;
    backend.SetShownHook([&](ui::Dialog& d) {
        ++shown;
        const bool errorBits = d.GetWindowText() == "Error Indication Bit Setting";
        if (errorBits) {
            EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT2), "NB07:000/15");
        }
        EXPECT_TRUE(backend.GrabDialog(d, Shot(errorBits ? "error-bits-older.png" : "control-word-older.png")));
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        Settle();
    });
    RunControlWordDialog(false, 1);
    Settle();
    RunControlWordDialog(false, 2);
    Settle();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(g_ProjectSettings.g_strCtrlWordAddr, "");
    for (const char* name : {"control-word-older.png", "error-bits-older.png"})
        EXPECT_FALSE(QImage(QString::fromStdString(Shot(name))).isNull()) << name;
}

}  // namespace
