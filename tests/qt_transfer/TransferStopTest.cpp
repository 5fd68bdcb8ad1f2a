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
    std::string line2Icon;  // the icon the firmware's line ended with
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
    out.line2Icon = dlg.GetDlgItemText(IDC_LINE2_ICON);
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
    // The firmware's line, still in view, says it went.
    EXPECT_EQ(out.line2Icon, std::to_string(IDB_STATUS_SUCCESS));
    // The unit holds the firmware whole and nothing else; it was not restarted.
    const auto streams = sim.Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].command, 0x12);
    EXPECT_TRUE(streams[0].completed);
    EXPECT_TRUE(sim.Records().empty());
    EXPECT_EQ(sim.Restarts(), 0);
}

// A stop at each safe point of a download: the person presses Escape while the dialog
// talks to the unit before a task's first stream (or, on a unit with older firmware,
// during the version query before the firmware the project needs first).
struct StopPoint {
    const char* name;
    bool older;
    bool projectOnly;            // else all four tasks ticked
    std::string duringLine2;     // the stop comes once line 2 reads this ...
    bool duringVersionQuery;     // ... or once the unit heard 0x17 0x17
    std::string sent, notSent;   // as the closing message names them
    std::vector<int> streams;    // the streams the unit then holds
    std::vector<int> records;
};

template <class Dlg>
class StoppedAt : public Dlg {
public:
    explicit StoppedAt(const StopPoint& p, const unitsim::UnitSimulator& sim, CSerialPort& port)
        : m_point(p), m_sim(sim), m_port(port) {}
    // Polled from the event loop the transfer's waits run: Escape goes to the dialog's
    // window (not to a box or the repaint dialog in front of it) once the point is reached.
    void Poll() {
        if (m_done || !m_port.IsOpen()) return;
        QWidget* front = QApplication::activeModalWidget();
        if (!front || front->windowTitle() != QStringLiteral("Download")) return;
        bool reached = false;
        if (m_point.duringVersionQuery) {
            for (uint16_t c : m_sim.Commands()) reached = reached || c == 0x1717;
        } else {
            reached = this->GetDlgItemText(IDC_LINE2_TEXT) == m_point.duringLine2;
        }
        if (!reached) return;
        m_done = true;
        Deliver(Gesture::Escape);
    }

private:
    StopPoint m_point;
    const unitsim::UnitSimulator& m_sim;
    CSerialPort& m_port;
    bool m_done = false;
};

template <class Dlg>
Outcome RunAndStop(StoppedAt<Dlg>& dlg, bool projectOnly) {
    Outcome out;
    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    platform::SetWaitTick([] { ui::GetBackend().ProcessPendingEvents(); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&dlg] { dlg.Poll(); });
    poll.start(1);
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        out.boxes.push_back(text);
        return text == kMsgRestartAfterDownload ? ui::IDNO : ui::IDOK;
    });
    backend.SetShownHook([projectOnly](ui::Dialog& d) {
        if (projectOnly) d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        else d.UserClickButton(IDC_SELECT_ALL);
        d.UserClickButton(IDC_DOWNLOAD);
    });
    out.result = dlg.DoModal();
    poll.stop();
    platform::SetWaitTick(nullptr);
    ui::SetBackend(nullptr);
    auto& list = dlg.template Item<ui::ListControl>(IDC_MESSAGE_LIST);
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetLBText(i) != " ") out.log.push_back(list.GetLBText(i));
    return out;
}

// A QVX-00 project on COM7, and the unit there an older one with the project's drivers.
void UseOlderProjectAndUnit(unitsim::UnitSimulator& sim) {
    SelectProject("QVX-00", 81, "102", 1, "101", 1);
    platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf("QVX-00"));
    unitsim::Behaviour b;
    b.older = true;
    b.productCode = 81;
    b.driverReport = {102, 1, 101, 1, 0};
    sim.SetBehaviour(b);
    g_bProductMismatch = 0;
}

}  // namespace

TEST(TransferStop, AStopAtEachSafePointSendsNothingOfTheTasksLeftInBothGenerations) {
    const std::string all = "Firmware, PLC1 Driver, PLC2 Driver, Project";
    const StopPoint points[] = {
        {"newer, before the firmware a project needs", false, true, "", true, "nothing", "Project", {}, {}},
        {"newer, before the PLC1 driver", false, false, "Downloading setup for PLC1 Driver.", false, "Firmware",
         "PLC1 Driver, PLC2 Driver, Project", {0x12}, {}},
        {"newer, before the PLC2 driver", false, false, "Downloading setup for PLC2 Driver.", false,
         "Firmware, PLC1 Driver", "PLC2 Driver, Project", {0x12, 0x21}, {0x22}},
        {"newer, before the project", false, false, "Checking existing drivers.", false,
         "Firmware, PLC1 Driver, PLC2 Driver", "Project", {0x12, 0x21, 0x13}, {0x22, 0x14}},
        {"older, before the firmware", true, false, "Downloading firmware.", false, "nothing", all, {}, {}},
        {"older, before the PLC1 driver", true, false, "Downloading setup for PLC1 Driver.", false, "Firmware",
         "PLC1 Driver, PLC2 Driver, Project", {0x12}, {}},
        {"older, before the PLC2 driver", true, false, "Downloading setup for PLC2 Driver.", false,
         "Firmware, PLC1 Driver", "PLC2 Driver, Project", {0x12, 0x21}, {0x22}},
        {"older, before the project", true, false, "Checking existing drivers.", false,
         "Firmware, PLC1 Driver, PLC2 Driver", "Project", {0x12, 0x21, 0x13}, {0x22, 0x14}},
    };
    for (const StopPoint& p : points) {
        SCOPED_TRACE(p.name);
        testsupport::SampleTree tree;
        unitsim::UnitSimulator sim;
        ASSERT_NO_FATAL_FAILURE(StartUnitOnCom7(sim));
        platform::TestClock clock(kSpeedup);
        CSerialPort& port = p.older ? g_DownloadPort : g_TransferPort;
        port.SetClock(&clock);
        Outcome out;
        if (p.older) {
            UseOlderProjectAndUnit(sim);
            StoppedAt<CDownloadDlg> dlg(p, sim, port);
            dlg.m_compileProject = [](std::string& image) { return WriteOlderProjectImage({}, &image) ? 0 : -1; };
            out = RunAndStop(dlg, p.projectOnly);
        } else {
            std::remove((tree.Path() + "QVX-S7/Firmware/FW0330.abs").c_str());  // no firmware choice
            if (p.duringVersionQuery) {  // a unit on older firmware than the product's
                unitsim::Behaviour b = sim.GetBehaviour();
                b.firmwareVersion = "V03.30";
                sim.SetBehaviour(b);
            }
            const SampleProject project = MakeSampleProject();
            StoppedAt<CTransferTasksDlg> dlg(p, sim, port);
            dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
            out = RunAndStop(dlg, p.projectOnly);
        }
        sim.WaitQuiet(50, 3000);
        EXPECT_EQ(out.result, ui::IDCANCEL);
        ASSERT_FALSE(out.boxes.empty());
        EXPECT_EQ(out.boxes.back(), "Download stopped.\nSent to the unit: " + p.sent + ".\nNot sent: " + p.notSent +
                                        ".\nThe unit does not hold the whole download: download what was not sent "
                                        "before you restart it.");
        EXPECT_NE(std::find(out.log.begin(), out.log.end(), "Project not sent: the download was stopped."),
                  out.log.end());
        std::vector<int> streams, records;
        for (const auto& s : sim.Streams()) {
            streams.push_back(s.command);
            EXPECT_TRUE(s.completed);
        }
        for (const auto& r : sim.Records()) records.push_back(r.command);
        EXPECT_EQ(streams, p.streams);
        EXPECT_EQ(records, p.records);
        EXPECT_TRUE(sim.StoredOlderBlocks().empty());
        EXPECT_EQ(sim.Restarts(), 0);
        EXPECT_EQ(g_nDownloadResult, -1);
        EXPECT_FALSE(port.IsOpen());
        port.SetClock(nullptr);
        sim.Stop();
        ::unsetenv("QUORVEX_COM7");
        ResetModel();
    }
}

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
            UseOlderProjectAndUnit(sim);
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
