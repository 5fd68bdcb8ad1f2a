// The unit tools on screen: the PC COM port setting, and the system-data grid after a
// reading from the simulated unit.
#include <filesystem>

#include <QImage>

#include "TcpUnit.h"

#include "ToolsTestSupport.h"
#include "app/ComPortDlg.h"
#include "app/EthernetDownloadDlg.h"
#include "app/HardwareTestDlg.h"
#include "app/HtmlDownloadDlg.h"
#include "app/IPSettingsUploadDlg.h"
#include "app/MacAddressDlg.h"
#include "app/UploadSystemDataDlg.h"
#include "qt/QtBackend.h"
#include "res/ToolsResource.h"

namespace {

int DarkPixels(const std::string& png) {
    QImage img(QString::fromStdString(png));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 80) ++dark;
    return dark;
}

// The fixture's headless layer stays idle; the dialogs run on the Qt backend.
class ToolScreens : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        std::filesystem::create_directories(QUORVEX_SHOT_DIR);
        ui::SetBackend(&backend);
    }
    void TearDown() override {
        ui::SetBackend(nullptr);
        ToolsFixture::TearDown();
    }
    std::string Shot(const char* name) const { return std::string(QUORVEX_SHOT_DIR) + "/" + name; }

    qtbind::QtBackend backend;
};

}  // namespace

TEST_F(ToolScreens, ComPortSetting) {
    StorePort("7");
    CComPortDlg dlg;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        grabbed = backend.GrabDialog(d, Shot("com-port.png"));
        d.UserClickButton(ui::IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_TRUE(grabbed);
    EXPECT_GT(DarkPixels(Shot("com-port.png")), 50);
}

TEST_F(ToolScreens, UploadSystemDataAfterAReading) {
    StorePort("7");
    g_nDeviceId = g_nDeviceIdAlt = 84;
    Unit([](unitsim::Behaviour& b) {
        b.productCode = 84;
        b.firmwareVersion = "V03.40";
    });
    CUploadSystemDataDlg dlg;
    dlg.Port().SetClock(&clock);
    bool grabbed = false;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        if (text == kMsgSysDataRestart) grabbed = backend.GrabDialog(dlg, Shot("system-data.png"));
        return ui::IDNO;
    });
    backend.SetShownHook([&](ui::Dialog& d) {
        d.UserClickButton(IDC_SYSDATA_UPLOAD);
        d.UserClickButton(ui::IDOK);
    });
    dlg.DoModal();
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(dlg.Data().firmwareVersion, "V03.40");
    EXPECT_GT(DarkPixels(Shot("system-data.png")), 50);
}

TEST_F(ToolScreens, IpSettingsAfterAnUpload) {
    g_IPUploadPort.SetClock(&clock);
    CIPSettingsUploadDlg dlg;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_IP_COM_PORT).UserSelect(6);
        d.UserClickButton(IDC_IP_UPLOAD);
        grabbed = backend.GrabDialog(d, Shot("ip-settings.png"));
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    g_IPUploadPort.SetClock(nullptr);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_IP_STATUS), kIpStatusDone);
    EXPECT_GT(DarkPixels(Shot("ip-settings.png")), 50);
}

TEST_F(ToolScreens, MacAddressFilledIn) {
    CMacAddressDlg dlg;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        const char* bytes[6] = {"00", "1a", "2b", "3c", "4d", "5e"};
        for (int i = 0; i < 6; ++i) d.SetDlgItemText(IDC_MAC_BYTE1 + i, bytes[i]);
        grabbed = backend.GrabDialog(d, Shot("mac-address.png"));
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    ASSERT_TRUE(grabbed);
    EXPECT_GT(DarkPixels(Shot("mac-address.png")), 50);
}

TEST_F(ToolScreens, HardwareTestAfterALoopBack) {
    g_HwTestPort.SetClock(&clock);
    Unit([](unitsim::Behaviour& b) { b.productCode = 0x51; });
    CHardwareTestDlg dlg;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        d.UserClickButton(IDC_HW_PORT1);
        d.UserClickButton(IDC_HW_RS232);
        d.UserClickButton(IDC_HW_START_TEST);
        grabbed = backend.GrabDialog(d, Shot("hardware-test.png"));
        d.UserClickButton(ui::IDCANCEL);
    });
    dlg.DoModal();
    g_HwTestPort.SetClock(nullptr);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_HW_RECEIVED), "HELLO");
    EXPECT_GT(DarkPixels(Shot("hardware-test.png")), 50);
}

TEST_F(ToolScreens, EthernetDownloadAfterTheFourFiles) {
    unitsim::TcpUnit unit;
    ASSERT_TRUE(unit.Start());
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-ENET";
    g_PlcRegisterTables.g_strPlc1Inf = deffiles::PlcDefinitionFile("QVX-ENET", "101");
    g_PlcRegisterTables.g_strPlc2Inf = deffiles::PlcDefinitionFile("QVX-ENET", "102");
    tree.Write("DefaultPrj.hex", std::string(300, 'P'));
    CEthernetDownloadDlg dlg;
    bool grabbed = false;
    backend.SetShownHook([&](ui::Dialog& d) {
        d.Item(IDC_ETH_IP_ADDRESS).UserType("127.0.0.1");
        d.Item(IDC_ETH_PORT).UserType(std::to_string(unit.Port()));
        d.UserClickButton(IDC_ETH_DOWNLOAD);
        grabbed = backend.GrabDialog(d, Shot("ethernet-download.png"));
        d.UserClickButton(IDC_ETH_CANCEL);
    });
    dlg.DoModal();
    unit.Stop();
    g_PlcRegisterTables.g_strPlc1Inf.clear();
    g_PlcRegisterTables.g_strPlc2Inf.clear();
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ETH_STATUS), kEthCompleted);
    EXPECT_GT(DarkPixels(Shot("ethernet-download.png")), 50);
}

TEST_F(ToolScreens, HtmlDownloadBeforeAndAfterTheWebPages) {
    g_szProductName = g_szProductPath = g_szProductNameCopy = "QVX-ENET";
    g_nDeviceId = g_nDeviceIdAlt = 94;
    Unit([](unitsim::Behaviour& b) {
        b.productCode = 94;
        b.echoDelayMs = 40;
    });
    CHtmlDownloadDlg dlg(nullptr, tree.Path() + "LOG.txt");
    dlg.Port().SetClock(&clock);
    bool grabbed = false;
    backend.SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
        if (text == kMsgWebDone) grabbed = backend.GrabDialog(dlg, Shot("html-download.png"));
        return ui::IDOK;
    });
    backend.SetShownHook([&](ui::Dialog& d) {
        d.Item(IDC_WEB_COM_PORT).UserType("COM7");
        d.UserClickButton(IDC_WEB_DOWNLOAD);
    });
    EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    ASSERT_TRUE(grabbed);
    EXPECT_GT(DarkPixels(Shot("html-download.png")), 50);
}
