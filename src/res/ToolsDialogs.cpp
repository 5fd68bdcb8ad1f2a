// Templates of the unit tools (dialog units, "MS Sans Serif" 8) and their pictures.
#include <vector>

#include "res/ToolsResource.h"
#include "ui/DialogTemplate.h"
#include "ui/Types.h"

namespace res {

using ui::ControlKind;
namespace st = ui::style;

namespace {

ui::DialogTemplate ComPortSetting() {
    ui::DialogTemplate t;
    t.id = IDD_COM_PORT_SETTING;
    t.caption = "IBM Com Port Setting";
    t.cx = 186;
    t.cy = 62;
    t.controls = {
        {ControlKind::Picture, IDC_COM_PORT_PICTURE, "", 10, 12, 32, 32, 0},
        {ControlKind::Label, -1, "IBM Com Port :", 52, 10, 70, 9, 0},
        {ControlKind::DropDown, IDC_PC_COM_PORT, "", 52, 22, 70, 140, st::kVScroll | st::kTabStop},
        {ControlKind::DefButton, ui::IDOK, "&OK", 130, 21, 48, 14, st::kTabStop},
    };
    return t;
}

ui::DialogTemplate UploadSystemData() {
    ui::DialogTemplate t;
    t.id = IDD_UPLOAD_SYSTEM_DATA;
    t.caption = "Upload  System Data ";
    t.cx = 220;
    t.cy = 183;
    const unsigned centred = st::kCenter;
    t.controls = {
        {ControlKind::Label, -1, "Code", 12, 12, 60, 9, 0},
        {ControlKind::Label, -1, "Version", 76, 12, 64, 9, centred},
        {ControlKind::Label, -1, "Status", 144, 12, 64, 9, centred},
        {ControlKind::Picture, -1, "", 8, 24, 204, 1, st::kSunken},
        {ControlKind::Label, -1, "Firmware", 12, 30, 60, 9, 0},
        {ControlKind::Label, IDC_FIRMWARE_VERSION, "", 76, 30, 64, 9, centred},
        {ControlKind::Label, IDC_FIRMWARE_STATUS, "", 144, 30, 64, 9, centred},
        {ControlKind::Label, IDC_PLC1_DRIVER_NAME, "PLC 1 Driver", 12, 44, 60, 9, 0},
        {ControlKind::Label, IDC_PLC1_DRIVER_VERSION, "", 76, 44, 64, 9, centred},
        {ControlKind::Label, IDC_PLC1_DRIVER_STATUS, "", 144, 44, 64, 9, centred},
        {ControlKind::Label, IDC_PLC2_DRIVER_NAME, "PLC 2 Driver", 12, 58, 60, 9, 0},
        {ControlKind::Label, IDC_PLC2_DRIVER_VERSION, "", 76, 58, 64, 9, centred},
        {ControlKind::Label, IDC_PLC2_DRIVER_STATUS, "", 144, 58, 64, 9, centred},
        {ControlKind::Label, -1, "Boot Block", 12, 72, 60, 9, 0},
        {ControlKind::Label, IDC_BOOT_BLOCK_VERSION, "", 76, 72, 64, 9, centred},
        {ControlKind::Label, IDC_BOOT_BLOCK_STATUS, "", 144, 72, 64, 9, centred},
        {ControlKind::Picture, -1, "", 8, 86, 204, 1, st::kSunken},
        {ControlKind::Picture, -1, "", 72, 8, 1, 78, st::kSunken},
        {ControlKind::Picture, -1, "", 141, 8, 1, 78, st::kSunken},
        {ControlKind::Label, IDC_SYSDATA_STATUS, "", 8, 94, 204, 9, 0},
        {ControlKind::GroupBox, -1, "IBM Com port Setting", 8, 110, 100, 34, 0},
        {ControlKind::DropList, IDC_SYSDATA_COM_PORT, "", 16, 124, 84, 140, st::kVScroll | st::kTabStop},
        {ControlKind::Button, IDC_SYSDATA_UPLOAD, "&Upload", 30, 158, 60, 14, st::kTabStop},
        {ControlKind::DefButton, ui::IDOK, "E&xit", 130, 158, 60, 14, st::kTabStop},
    };
    return t;
}

ui::DialogTemplate IpSettingsUpload() {
    ui::DialogTemplate t;
    t.id = IDD_IP_SETTINGS_UPLOAD;
    t.caption = "Upload";
    t.cx = 236;
    t.cy = 196;
    const unsigned address = st::kReadOnly | st::kBorder | st::kTabStop;
    t.controls = {
        {ControlKind::GroupBox, -1, "COM Port Setting", 7, 4, 222, 30, 0},
        {ControlKind::Label, -1, "COM Port : ", 16, 17, 60, 9, 0},
        {ControlKind::DropList, IDC_IP_COM_PORT, "", 96, 15, 70, 120, st::kVScroll | st::kTabStop},
        {ControlKind::GroupBox, -1, "IP Address", 7, 38, 222, 62, 0},
        {ControlKind::Label, -1, "QVX-xxx  Address : ", 16, 51, 76, 9, 0},
        {ControlKind::Edit, IDC_UNIT_IP_ADDRESS, "", 96, 49, 90, 12, address},
        {ControlKind::Label, -1, "Default Router : ", 16, 66, 76, 9, 0},
        {ControlKind::Edit, IDC_ROUTER_ADDRESS, "", 96, 64, 90, 12, address},
        {ControlKind::Label, -1, "Subnet Mask : ", 16, 81, 76, 9, 0},
        {ControlKind::Edit, IDC_SUBNET_MASK, "", 96, 79, 90, 12, address},
        {ControlKind::GroupBox, -1, "MAC ID", 7, 104, 222, 30, 0},
        {ControlKind::Label, -1, "MAC Address : ", 16, 117, 60, 9, 0},
        {ControlKind::Progress, IDC_IP_PROGRESS, "", 7, 140, 222, 10, 0},
        {ControlKind::Label, IDC_IP_STATUS, "", 7, 154, 222, 9, 0},
        {ControlKind::DefButton, IDC_IP_UPLOAD, "&Uplaod", 40, 174, 60, 14, st::kTabStop},
        {ControlKind::Button, ui::IDCANCEL, "E&xit", 136, 174, 60, 14, st::kTabStop},
    };
    for (int i = 0; i < 6; ++i)
        t.controls.push_back({ControlKind::Edit, IDC_MAC_BYTE1 + i, "", 76 + i * 24, 115, 20, 12,
                              st::kReadOnly | st::kBorder | st::kCenter | st::kTabStop});
    return t;
}

ui::DialogTemplate MacAddress() {
    ui::DialogTemplate t;
    t.id = IDD_MAC_ADDRESS;
    t.caption = "MAC Address Settings";
    t.cx = 236;
    t.cy = 150;
    t.controls = {
        {ControlKind::Picture, IDC_MAC_PICTURE, "", 10, 10, 32, 32, 0},
        {ControlKind::Label, -1, "Select Communication Port :", 50, 14, 100, 9, 0},
        {ControlKind::DropDown, IDC_MAC_COM_PORT, "", 152, 12, 74, 120, st::kVScroll | st::kTabStop},
        {ControlKind::GroupBox, -1, "MAC Address :", 7, 46, 222, 44, 0},
        {ControlKind::Label, -1, "Enter Your MAC Address Here :", 16, 58, 200, 9, 0},
        {ControlKind::Label, -1, "Note  : - This utility will set MAC Address of your device.", 7, 98, 222, 9, 0},
        {ControlKind::DefButton, ui::IDOK, "&Set", 56, 126, 56, 14, st::kTabStop},
        {ControlKind::Button, ui::IDCANCEL, "Cancel", 124, 126, 56, 14, st::kTabStop},
    };
    for (int i = 0; i < 6; ++i)
        t.controls.insert(t.controls.begin() + 5 + i,
                          {ControlKind::Edit, IDC_MAC_BYTE1 + i, "", 16 + i * 34, 70, 28, 12,
                           st::kBorder | st::kCenter | st::kTabStop});
    return t;
}

ui::DialogTemplate HardwareTest() {
    ui::DialogTemplate t;
    t.id = IDD_HARDWARE_TEST;
    t.caption = "Hardware Test";
    t.cx = 300;
    t.cy = 246;
    const unsigned radio = st::kTabStop;
    const unsigned shown = st::kCenter | st::kSunken;
    t.controls = {
        {ControlKind::GroupBox, -1, "Select Quorvex communication port for hardware test", 7, 4, 286, 44, 0},
        {ControlKind::RadioButton, IDC_HW_PORT1, "Com 1 / PLC 1", 16, 16, 80, 10, radio | st::kGroup},
        {ControlKind::RadioButton, IDC_HW_PORT2, "Com 2 / PLC 2", 120, 16, 80, 10, radio},
        {ControlKind::Label, IDC_HW_CABLE_TEXT, "Cable", 16, 32, 270, 9, 0},
        {ControlKind::GroupBox, -1, "Select communication signal level for the test", 7, 52, 286, 44, 0},
        {ControlKind::RadioButton, IDC_HW_RS232, "RS232", 16, 64, 60, 10, radio | st::kGroup},
        {ControlKind::RadioButton, IDC_HW_RS422, "RS422/RS485", 90, 64, 70, 10, radio},
        {ControlKind::RadioButton, IDC_HW_CMOS, "CMOS", 176, 64, 60, 10, radio},
        {ControlKind::Label, IDC_HW_PIN_TEXT, "Pins", 16, 80, 270, 9, 0},
        {ControlKind::Button, IDC_HW_START_TEST, "Start &Test", 7, 102, 60, 14, st::kTabStop | st::kGroup},
        {ControlKind::GroupBox, -1, "Send String", 76, 100, 104, 28, 0},
        {ControlKind::Label, IDC_HW_SENT, "", 84, 112, 88, 11, shown},
        {ControlKind::GroupBox, -1, "Received String", 189, 100, 104, 28, 0},
        {ControlKind::Label, IDC_HW_RECEIVED, "", 197, 112, 88, 11, shown},
        {ControlKind::GroupBox, -1, "Test Results", 7, 132, 286, 86, 0},
        {ControlKind::ListBox, IDC_HW_RESULTS, "", 14, 144, 272, 68,
         st::kBorder | st::kVScroll | st::kAutoHScroll | st::kTabStop},
        {ControlKind::Button, IDC_HW_HELP, "&Help", 164, 226, 60, 14, st::kTabStop},
        {ControlKind::Button, ui::IDCANCEL, "E&xit", 233, 226, 60, 14, st::kTabStop},
    };
    return t;
}

ui::DialogTemplate EthernetDownload() {
    ui::DialogTemplate t;
    t.id = IDD_ETHERNET_DOWNLOAD;
    t.caption = "Ethernet Download";
    t.cx = 236;
    t.cy = 150;
    t.controls = {
        {ControlKind::Label, -1, "Quorvex IP Address : ", 10, 12, 80, 9, 0},
        {ControlKind::Edit, IDC_ETH_IP_ADDRESS, "", 96, 10, 90, 12, st::kBorder | st::kTabStop},
        {ControlKind::Label, -1, "Download Port :", 10, 30, 80, 9, 0},
        {ControlKind::Edit, IDC_ETH_PORT, "", 96, 28, 50, 12, st::kBorder | st::kNumber | st::kTabStop},
        {ControlKind::GroupBox, -1, "File Name", 7, 46, 222, 26, 0},
        {ControlKind::Label, IDC_ETH_FILE_NAME, "", 14, 58, 208, 9, 0},
        {ControlKind::Label, IDC_ETH_STATUS, "", 7, 78, 222, 9, 0},
        {ControlKind::Progress, IDC_ETH_PROGRESS, "", 7, 92, 222, 10, 0},
        {ControlKind::DefButton, IDC_ETH_DOWNLOAD, "&Download", 40, 126, 60, 14, st::kTabStop},
        {ControlKind::Button, IDC_ETH_CANCEL, "&Cancel", 136, 126, 60, 14, st::kTabStop},
    };
    return t;
}

ui::DialogTemplate HtmlDownload() {
    ui::DialogTemplate t;
    t.id = IDD_HTML_DOWNLOAD;
    t.caption = "HTML Downloading";
    t.cx = 220;
    t.cy = 110;
    t.controls = {
        {ControlKind::Label, -1, "Select COM Port :", 10, 12, 70, 9, 0},
        {ControlKind::DropDown, IDC_WEB_COM_PORT, "", 84, 10, 70, 120, st::kVScroll | st::kTabStop},
        {ControlKind::Label, IDC_WEB_STATUS, "", 10, 34, 70, 9, 0},
        {ControlKind::Label, IDC_WEB_FILE_NAME, "", 84, 34, 128, 9, 0},
        {ControlKind::Progress, IDC_WEB_PROGRESS, "", 10, 50, 200, 10, 0},
        {ControlKind::DefButton, IDC_WEB_DOWNLOAD, "&Download", 40, 86, 60, 14, st::kTabStop},
        {ControlKind::Button, ui::IDOK, "E&xit", 120, 86, 60, 14, st::kTabStop},
    };
    return t;
}

}  // namespace

void AddToolsDialogs(std::vector<ui::DialogTemplate>& out) {
    out.push_back(ComPortSetting());
    out.push_back(UploadSystemData());
    out.push_back(IpSettingsUpload());
    out.push_back(MacAddress());
    out.push_back(HardwareTest());
    out.push_back(EthernetDownload());
    out.push_back(HtmlDownload());
}

ui::DialogTemplate ToolsDialogTemplate(int id) {
    std::vector<ui::DialogTemplate> all;
    AddToolsDialogs(all);
    for (auto& t : all)
        if (t.id == id) return t;
    ui::DialogTemplate missing;
    missing.id = -id;
    return missing;
}

namespace {

// An Ethernet jack with its two lights, seen from the front.
std::shared_ptr<const ui::Bitmap> EthernetJack() {
    constexpr int kSize = 32;
    auto bitmap = std::make_shared<ui::Bitmap>();
    bitmap->width = bitmap->height = kSize;
    bitmap->pixels.assign(kSize * kSize, 0x00000000u);
    const std::uint32_t shell = 0xFF808890u, hole = 0xFF202428u, green = 0xFF30C040u, amber = 0xFFE0A020u;
    for (int y = 5; y <= 27; ++y)
        for (int x = 3; x <= 28; ++x)
            bitmap->pixels[size_t(y * kSize + x)] = shell;
    for (int y = 10; y <= 24; ++y)
        for (int x = 8; x <= 23; ++x)
            if (y >= 13 || (x >= 12 && x <= 19)) bitmap->pixels[size_t(y * kSize + x)] = hole;
    for (int y = 7; y <= 8; ++y)
        for (int d = 0; d < 3; ++d) {
            bitmap->pixels[size_t(y * kSize + 5 + d)] = green;
            bitmap->pixels[size_t(y * kSize + 24 + d)] = amber;
        }
    return bitmap;
}

}  // namespace

std::shared_ptr<const ui::Bitmap> ToolsBitmap(int id) {
    if (id == IDB_MAC_ADDRESS) return EthernetJack();
    if (id != IDB_COM_PORT) return nullptr;
    // A nine-pin D connector, seen from the front, on a transparent ground.
    constexpr int kSize = 32;
    auto bitmap = std::make_shared<ui::Bitmap>();
    bitmap->width = bitmap->height = kSize;
    bitmap->pixels.assign(kSize * kSize, 0x00000000u);
    auto put = [&](int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < kSize && y < kSize) bitmap->pixels[size_t(y * kSize + x)] = c;
    };
    const std::uint32_t shell = 0xFF707880u, face = 0xFF303840u, pin = 0xFFE0C040u;
    for (int y = 8; y <= 23; ++y) {
        // The shell narrows towards the bottom like the connector's trapezoid.
        const int inset = (y - 8) / 4;
        for (int x = 2 + inset; x <= 29 - inset; ++x) {
            const bool edge = y == 8 || y == 23 || x == 2 + inset || x == 29 - inset;
            put(x, y, edge ? shell : face);
        }
    }
    for (int i = 0; i < 5; ++i)
        for (int d = 0; d < 4; ++d) put(7 + i * 4 + d % 2, 12 + d / 2, pin);
    for (int i = 0; i < 4; ++i)
        for (int d = 0; d < 4; ++d) put(9 + i * 4 + d % 2, 18 + d / 2, pin);
    return bitmap;
}

}  // namespace res
