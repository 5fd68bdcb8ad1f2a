// The transfer dialog on screen while it downloads a driver and a project to the simulated
// unit, and when it asks for the restart.
#include <filesystem>

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include "platform/Clock.h"

#include "TransferTestSupport.h"
#include "app/TransferTasksDlg.h"
#include "qt/QtBackend.h"
#include "res/TransferResource.h"

namespace {

// Takes a picture once the driver is in.
class ShotDlg : public CTransferTasksDlg {
public:
    explicit ShotDlg(qtbind::QtBackend& backend) : m_backend(backend) {}
    void MarkLine(int line, LineState state, int icon) override {
        CTransferTasksDlg::MarkLine(line, state, icon);
        if (line == kLineSetup && state == LineState::Succeeded && !during)
            during = m_backend.GrabDialog(*this, std::string(QUORVEX_SHOT_DIR) + "/transfer-during.png");
    }
    bool during = false;

private:
    qtbind::QtBackend& m_backend;
};

int DarkPixels(const std::string& png) {
    QImage img(QString::fromStdString(png));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 80) ++dark;
    return dark;
}

}  // namespace

TEST(TransferDialogScreens, DuringAndAfterADownload) {
    std::filesystem::create_directories(QUORVEX_SHOT_DIR);
    testsupport::SampleTree tree;
    unitsim::UnitSimulator sim;
    ASSERT_NO_FATAL_FAILURE(StartUnitOnCom7(sim));
    unitsim::Behaviour b = sim.GetBehaviour();
    b.handshakeDelayMs = 15;
    sim.SetBehaviour(b);
    platform::TestClock clock(kSpeedup);
    g_TransferPort.SetClock(&clock);
    const SampleProject project = MakeSampleProject();

    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    ShotDlg dlg(backend);
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
    std::string after;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        if (text == kMsgRestartAfterDownload) {
            after = std::string(QUORVEX_SHOT_DIR) + "/transfer-after.png";
            EXPECT_TRUE(backend.GrabDialog(dlg, after));
            return ui::IDNO;
        }
        return ui::IDOK;
    });
    backend.SetShownHook([](ui::Dialog& d) {
        auto& tasks = d.Item<ui::ListView>(IDC_TASK_LIST);
        tasks.SetRowCheck(1, true);
        tasks.SetRowCheck(3, true);
        d.UserClickButton(IDC_DOWNLOAD);
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    ui::SetBackend(nullptr);
    g_TransferPort.Close();
    g_TransferPort.SetClock(nullptr);
    sim.Stop();
    ::unsetenv("QUORVEX_COM7");

    EXPECT_TRUE(dlg.during);
    ASSERT_FALSE(after.empty());
    EXPECT_GT(DarkPixels(std::string(QUORVEX_SHOT_DIR) + "/transfer-during.png"), 50);
    EXPECT_GT(DarkPixels(after), 50);
    EXPECT_EQ(g_nDownloadResult, 0);
    ResetModel();
}

// A download at the line's own pace keeps the window alive: the window's events get
// through at least every 200 ms, in every pause and wait of the transfer.
TEST(TransferDialogScreens, WindowStaysAliveDuringAPacedDownload) {
    testsupport::SampleTree tree;
    unitsim::UnitSimulator sim;
    ASSERT_NO_FATAL_FAILURE(StartUnitOnCom7(sim));
    unitsim::Behaviour b = sim.GetBehaviour();
    b.pace = true;
    sim.SetBehaviour(b);
    const SampleProject project = MakeSampleProject();

    qtbind::QtBackend backend;
    ui::SetBackend(&backend);
    platform::SetWaitTick([] { ui::GetBackend().ProcessPendingEvents(); });
    CTransferTasksDlg dlg;
    dlg.m_getBlockRows = [&] { return BlockRows(project.rows.begin(), project.rows.begin() + 2); };
    backend.SetMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
        return text == kMsgRestartAfterDownload ? ui::IDNO : ui::IDOK;
    });
    QElapsedTimer clock;
    qint64 last = -1, longest = 0;
    int ticks = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, &beat, [&] {
        const qint64 now = clock.elapsed();
        if (last >= 0) longest = std::max(longest, now - last);
        last = now;
        ++ticks;
    });
    backend.SetShownHook([&](ui::Dialog& d) {
        d.Item<ui::ListView>(IDC_TASK_LIST).SetRowCheck(3, true);
        clock.start();
        beat.start(20);
        d.UserClickButton(IDC_DOWNLOAD);
        beat.stop();
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    platform::SetWaitTick(nullptr);
    ui::SetBackend(nullptr);
    g_TransferPort.Close();
    sim.Stop();
    ::unsetenv("QUORVEX_COM7");

    EXPECT_EQ(g_nDownloadResult, 0);
    EXPECT_GT(clock.elapsed(), 2000);  // the pauses of the transfer were really waited
    EXPECT_GT(ticks, 20);
    EXPECT_LT(longest, 200);
    ResetModel();
}
