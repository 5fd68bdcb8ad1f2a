// A download stopped by the person in the real transfer windows of both generations: Exit
// (where it is enabled), Escape and the close box reach the dialog's top-level window while
// the firmware goes to the simulated unit. The dialog ends the download before its next
// task, says what was sent and what was not, asks no restart, and closes; the unit holds
// exactly what the dialog said it sent.
#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include "TransferTestSupport.h"
#include "app/DownloadDlg.h"
#include "app/TransferTasksDlg.h"
#include "compiler/ProjectImage.h"
#include "link/SystemDataUpload.h"
#include "platform/Clock.h"
#include "qt/QtBackend.h"
#include "res/TransferResource.h"

namespace {

enum class Gesture { Exit, Escape, CloseBox };

const char* Name(Gesture g) { return g == Gesture::Exit ? "Exit" : g == Gesture::Escape ? "Escape" : "close box"; }

// What a person does to the window in front, the transfer dialog.
void Deliver(Gesture g) {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(dialog->windowHandle(), nullptr);
    switch (g) {
    case Gesture::Exit:
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->text() == QStringLiteral("E&xit")) QTest::mouseClick(button, Qt::LeftButton);
        break;
    case Gesture::Escape:
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        break;
    case Gesture::CloseBox:
        dialog->windowHandle()->close();  // the window manager's close request
        break;
    }
}

// The dialog under test, told to have the gesture delivered once the firmware is half sent.
template <class Dlg>
class Stopped : public Dlg {
public:
    explicit Stopped(Gesture g) : m_gesture(g) {}
    void SetProgressPos(int position) override {
        Dlg::SetProgressPos(position);
        const bool firmware = this->GetDlgItemText(IDC_LINE2_TEXT).find("irmware") != std::string::npos;
        if (firmware && position >= 100 && !m_armed) {
            m_armed = true;
            QTimer::singleShot(0, qApp, [this] { Deliver(m_gesture); });
        }
    }

private:
    Gesture m_gesture;
    bool m_armed = false;
};

struct Outcome {
    int result = 0;
    std::vector<std::string> boxes;
    std::vector<std::string> log;
};

template <class Dlg>
Outcome RunAllFourAndStop(Dlg& dlg) {
    Outcome out;
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    platform::SetWaitTick([] { ui::GetBackend().ProcessPendingEvents(); });
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        out.boxes.push_back(text);
        return text == kMsgRestartAfterDownload ? ui::IDNO : ui::IDOK;
    });
    backend.SetShownHook([](ui::Dialog& d) {
        d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
    });
    out.result = dlg.DoModal();
    platform::SetWaitTick(nullptr);
    ui::SetBackend(nullptr);
    auto& list = dlg.template Item<ui::ListControl>(IDC_MESSAGE_LIST);
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetLBText(i) != " ") out.log.push_back(list.GetLBText(i));
    return out;
}

void ExpectStoppedAfterTheFirmware(const Outcome& out, const unitsim::UnitSimulator& sim, const std::string& plc) {
    EXPECT_EQ(out.result, ui::IDCANCEL);  // the dialog closed, as asked
    ASSERT_FALSE(out.boxes.empty());
    for (const std::string& box : out.boxes) EXPECT_EQ(box.find("Download completed."), std::string::npos) << box;
    EXPECT_EQ(out.boxes.back(), "Download stopped.\nSent to the unit: Firmware.\nNot sent: " + plc + "1 Driver, " +
                                    plc + "2 Driver, Project.\nThe unit does not hold the whole download: download "
                                    "what was not sent before you restart it.");
    EXPECT_NE(std::find(out.log.begin(), out.log.end(), "Firmware downloaded successfully."), out.log.end());
    EXPECT_NE(std::find(out.log.begin(), out.log.end(), "Project not sent: the download was stopped."),
              out.log.end());
    EXPECT_EQ(g_nDownloadResult, -1);
    // The unit holds the firmware whole and nothing else; it was not restarted.
    const auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].command, 0x12);
    EXPECT_TRUE(streams[0].completed);
    EXPECT_TRUE(sim.Records().empty());
    EXPECT_EQ(sim.Restarts(), 0);
}

}  // namespace

// The newer dialog takes all three gestures; the older one greys Exit while it runs.
TEST(TransferStop, StoppedWithExitEscapeOrTheCloseBoxSendsNoMoreAndSaysSo) {
    const std::pair<bool, Gesture> cases[] = {{false, Gesture::Exit}, {false, Gesture::Escape},
                                              {false, Gesture::CloseBox}, {true, Gesture::Escape},
                                              {true, Gesture::CloseBox}};
    for (const auto& [older, g] : cases) {
        SCOPED_TRACE(std::string(older ? "older " : "newer ") + Name(g));
        testsupport::SampleTree tree;
        unitsim::UnitSimulator sim;
        ASSERT_NO_FATAL_FAILURE(StartUnitOnCom7(sim));
        platform::TestClock clock(kSpeedup);
        CSerialPort& port = older ? g_DownloadPort : g_TransferPort;
        port.SetClock(&clock);
        Outcome out;
        if (older) {
            SelectProject("QVX-00", 81, "102", 1, "101", 1);
            platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf("QVX-00"));
            unitsim::Behaviour b;
            b.older = true;
            b.productCode = 81;
            b.driverReport = {102, 1, 101, 1, 0};
            sim.SetBehaviour(b);
            g_bProductMismatch = 0;
            Stopped<CDownloadDlg> dlg(g);
            dlg.m_compileProject = [](std::string& image) { return WriteOlderProjectImage({}, &image) ? 0 : -1; };
            out = RunAllFourAndStop(dlg);
        } else {
            std::remove((tree.Path() + "QVX-S7/Firmware/FW0330.abs").c_str());  // no firmware choice
            const SampleProject project = MakeSampleProject();
            Stopped<CTransferTasksDlg> dlg(g);
            dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
            out = RunAllFourAndStop(dlg);
        }
        sim.WaitQuiet(50, 3000);
        ExpectStoppedAfterTheFirmware(out, sim, "PLC");
        EXPECT_TRUE(sim.StoredOlderBlocks().empty());
        EXPECT_FALSE(port.IsOpen());
        port.SetClock(nullptr);
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
        ResetModel();
    }
}
