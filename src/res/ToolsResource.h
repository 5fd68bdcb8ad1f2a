#pragma once
// Resource ids of the unit tools: the PC COM port setting and the upload of the unit's
// system data.
#include <memory>

#include <vector>

#include "ui/Bitmap.h"
#include "ui/DialogTemplate.h"

// PC COM port setting.
constexpr int IDD_COM_PORT_SETTING = 133;
constexpr int IDC_PC_COM_PORT = 1002;
constexpr int IDC_COM_PORT_PICTURE = 1003;
constexpr int IDB_COM_PORT = 135;

// Upload of the unit's system data.
constexpr int IDD_UPLOAD_SYSTEM_DATA = 155;
constexpr int IDC_SYSDATA_COM_PORT = 1002;
constexpr int IDC_SYSDATA_UPLOAD = 1057;
constexpr int IDC_FIRMWARE_VERSION = 1051;
constexpr int IDC_PLC1_DRIVER_VERSION = 1052;
constexpr int IDC_PLC2_DRIVER_VERSION = 1053;
constexpr int IDC_FIRMWARE_STATUS = 1054;
constexpr int IDC_PLC1_DRIVER_STATUS = 1055;
constexpr int IDC_PLC2_DRIVER_STATUS = 1056;
constexpr int IDC_BOOT_BLOCK_VERSION = 1058;
constexpr int IDC_BOOT_BLOCK_STATUS = 1059;
constexpr int IDC_PLC1_DRIVER_NAME = 1148;
constexpr int IDC_PLC2_DRIVER_NAME = 1149;
constexpr int IDC_SYSDATA_STATUS = 1097;

namespace res {

// The template of a unit tool's dialog by id (an empty template with a negative id when
// none has it); the dialogs are built from these.
ui::DialogTemplate ToolsDialogTemplate(int id);
// All of them, for the program's table of templates.
void AddToolsDialogs(std::vector<ui::DialogTemplate>& out);

// Bitmaps 135 (the serial connector beside the port box) and 385 (the Ethernet jack of
// the MAC address dialog), drawn here.
std::shared_ptr<const ui::Bitmap> ToolsBitmap(int id);

}  // namespace res

// Upload of the IP settings.
constexpr int IDD_IP_SETTINGS_UPLOAD = 404;
constexpr int IDC_IP_COM_PORT = 1233;
constexpr int IDC_UNIT_IP_ADDRESS = 1195;
constexpr int IDC_ROUTER_ADDRESS = 1205;
constexpr int IDC_SUBNET_MASK = 1207;
constexpr int IDC_MAC_BYTE1 = 1007;  // to IDC_MAC_BYTE1 + 5 (1012)
constexpr int IDC_IP_PROGRESS = 1001;
constexpr int IDC_IP_STATUS = 1237;
constexpr int IDC_IP_UPLOAD = 1242;

// MAC address setting (the six fields are IDC_MAC_BYTE1 to IDC_MAC_BYTE1 + 5).
constexpr int IDD_MAC_ADDRESS = 383;
constexpr int IDC_MAC_COM_PORT = 1002;
constexpr int IDC_MAC_PICTURE = 1003;
constexpr int IDB_MAC_ADDRESS = 385;

// Hardware loop-back test.
constexpr int IDD_HARDWARE_TEST = 218;
constexpr int IDC_HW_PORT1 = 1132;
constexpr int IDC_HW_PORT2 = 1133;
constexpr int IDC_HW_CABLE_TEXT = 1134;
constexpr int IDC_HW_RS232 = 1123;
constexpr int IDC_HW_RS422 = 1124;
constexpr int IDC_HW_CMOS = 1125;
constexpr int IDC_HW_PIN_TEXT = 1135;
constexpr int IDC_HW_START_TEST = 1138;
constexpr int IDC_HW_SENT = 1128;
constexpr int IDC_HW_RECEIVED = 1122;
constexpr int IDC_HW_RESULTS = 1136;
constexpr int IDC_HW_HELP = 1137;

// Ethernet download.
constexpr int IDD_ETHERNET_DOWNLOAD = 403;
constexpr int IDC_ETH_IP_ADDRESS = 1195;
constexpr int IDC_ETH_PORT = 1241;
constexpr int IDC_ETH_FILE_NAME = 1174;
constexpr int IDC_ETH_STATUS = 1237;
constexpr int IDC_ETH_PROGRESS = 1001;
constexpr int IDC_ETH_DOWNLOAD = 1238;
constexpr int IDC_ETH_CANCEL = 1239;

// Web-page download.
constexpr int IDD_HTML_DOWNLOAD = 388;
constexpr int IDC_WEB_COM_PORT = 1002;
constexpr int IDC_WEB_DOWNLOAD = 1230;
constexpr int IDC_WEB_PROGRESS = 1001;
constexpr int IDC_WEB_FILE_NAME = 1231;
constexpr int IDC_WEB_STATUS = 1232;
