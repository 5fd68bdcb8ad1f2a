// The unit tools reach the frame's and the block view's entry points through one call.
#include "ToolsTestSupport.h"
#include "app/MainFrame.h"
#include "app/ToolScreens.h"
#include "editor/NewBlockExView.h"
#include "res/ToolsResource.h"

namespace {
class WireToolScreensTest : public ToolsFixture {};
}  // namespace

TEST_F(WireToolScreensTest, TheFrameCommandsOpenTheirDialogs) {
    FrameServices frame;
    NewBlockExServices editor;
    WireToolScreens(frame, editor);
    ASSERT_TRUE(frame.comPortSetting);
    ASSERT_TRUE(frame.uploadSystemData);
    ASSERT_TRUE(frame.ipSettingsUpload);
    ASSERT_TRUE(editor.macAddress);
    ASSERT_TRUE(frame.hardwareTest);
    ASSERT_TRUE(frame.ethernetDownload);
    ASSERT_TRUE(editor.htmlDownload);

    StorePort("7");
    ui.ExpectModal(IDD_COM_PORT_SETTING, [](ui::Dialog& d) {
        d.Item<ui::ListControl>(IDC_PC_COM_PORT).UserSelect(6);
        d.UserClickButton(ui::IDOK);
    });
    frame.comPortSetting();
    ui.ExpectModal(IDD_UPLOAD_SYSTEM_DATA, [](ui::Dialog& d) { d.UserClickButton(ui::IDOK); });
    frame.uploadSystemData();
    ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    frame.ipSettingsUpload();
    ui.ExpectModal(IDD_MAC_ADDRESS, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    editor.macAddress();
    ui.ExpectModal(IDD_HARDWARE_TEST, [](ui::Dialog& d) { d.UserClickButton(ui::IDCANCEL); });
    frame.hardwareTest();
    ui.ExpectModal(IDD_ETHERNET_DOWNLOAD, [](ui::Dialog& d) { d.UserClickButton(IDC_ETH_CANCEL); });
    frame.ethernetDownload();
    ui.ExpectModal(IDD_HTML_DOWNLOAD, [](ui::Dialog& d) { d.UserClickButton(ui::IDOK); });
    editor.htmlDownload();
    ASSERT_EQ(ui.Modals().size(), 7u);
    EXPECT_EQ(ui.Modals()[0].result, ui::IDOK);
    EXPECT_EQ(ui.Modals()[1].caption, "Upload  System Data ");
}
