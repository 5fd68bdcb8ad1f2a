#pragma once
// Resource ids of the port settings: the PLC port settings dialog, the PLC advance
// settings, the pages of the Communication Setting sheet and the dialog built at run time.
#include <string>

#include "ui/DialogTemplate.h"

// PLC port settings (one side's baud rate, data bits, parity and stop bits).
constexpr int IDD_PLC_PORT_SETTING = 152;
constexpr int IDC_PLC_NAME = 1063;
constexpr int IDC_BAUD_RATE = 1017;
constexpr int IDC_DATA_BITS = 1018;
constexpr int IDC_PARITY_BIT = 1019;
constexpr int IDC_STOP_BITS = 1020;
constexpr int IDC_PORT_DEFAULT = 1021;
constexpr int IDC_PORT_ADVANCED = 1066;
constexpr int IDC_PLC_SPECIFIC_DATA = 1095;

// PLC advance settings (up to three protocol values of one port).
constexpr int IDD_PLC_ADVANCE_SETTING = 154;
constexpr int IDC_ADV_NAME1 = 1030;
constexpr int IDC_ADV_NAME2 = 1079;
constexpr int IDC_ADV_NAME3 = 1082;
constexpr int IDC_ADV_VALUE1 = 1007;
constexpr int IDC_ADV_VALUE2 = 1008;
constexpr int IDC_ADV_VALUE3 = 1009;
constexpr int IDC_ADV_RANGE1 = 1059;
constexpr int IDC_ADV_RANGE2 = 1060;
constexpr int IDC_ADV_RANGE3 = 1061;
constexpr int IDC_ADV_YES = 1043;
constexpr int IDC_ADV_NO = 1044;
constexpr int IDC_EXTENDED_SETUP = 1219;

// Communication Setting sheet: the General page and the port pages.
constexpr int IDD_PLC_GENERAL = 107;
constexpr int IDC_PLC_PAGE_COUNT = 1146;
constexpr int IDC_COMMUNICATION = 32771;
constexpr int IDC_SHEET_SAVE = 1150;
constexpr int IDD_PLC_CONFIG = 236;
constexpr int IDC_PORT_TIMEOUT = 1147;

// Captions of the port pages, by port number.
constexpr int IDS_MASTER1 = 1;
constexpr int IDS_MASTER2 = 2;
constexpr int IDS_CONTROLLER = 3;

// A dialog whose template is made at run time has no resource id.
constexpr int IDD_RUNTIME_DIALOG = 0;

namespace res {

// The templates of these dialogs (152, 154, 107, 236); null for another id. The dialogs
// are built from them directly.
const ui::DialogTemplate* PortSettingsTemplate(int id);

// The caption string of a port page ("Master 1", "Master 2", "Controller"); empty for
// another id.
std::string PortPageCaption(int id);

}  // namespace res
