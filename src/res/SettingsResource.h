#pragma once
// Resource ids of the project settings dialogs: the control-word dialogs of both editor
// generations (the older 139, the newer 323) with their two address panels, and the
// bitmaps of their buttons.
#include <memory>

namespace ui {
struct Bitmap;
}

// The control-word dialogs.
constexpr int IDD_CONTROL_WORD = 139;     // older generation
constexpr int IDD_CONTROL_WORD_EX = 323;  // newer generation

// PLC1 panel (the PLC on COM1).
constexpr int IDC_CW_PLC1_REGISTER = 1002;     // register list; item data: register index
constexpr int IDC_CW_PLC1_RANGE = 1035;
constexpr int IDC_CW_PLC1_NUMBER = 1032;       // number part
constexpr int IDC_CW_PLC1_COLON = 1033;        // part after ':'
constexpr int IDC_CW_PLC1_SLASH = 1034;        // part after '/'
constexpr int IDC_CW_PLC1_NUMBER_UP = 1037;
constexpr int IDC_CW_PLC1_NUMBER_DOWN = 1038;
constexpr int IDC_CW_PLC1_COLON_UP = 1039;
constexpr int IDC_CW_PLC1_COLON_DOWN = 1040;
constexpr int IDC_CW_PLC1_SLASH_UP = 1041;
constexpr int IDC_CW_PLC1_SLASH_DOWN = 1042;
constexpr int IDC_CW_PLC1_ADDRESS = 1036;      // the address composed in the panel

// PLC2 panel (the PLC on COM2).
constexpr int IDC_CW_PLC2_REGISTER = 1018;
constexpr int IDC_CW_PLC2_RANGE = 1067;
constexpr int IDC_CW_PLC2_NUMBER = 1068;
constexpr int IDC_CW_PLC2_COLON = 1071;
constexpr int IDC_CW_PLC2_SLASH = 1074;
constexpr int IDC_CW_PLC2_NUMBER_UP = 1069;
constexpr int IDC_CW_PLC2_NUMBER_DOWN = 1070;
constexpr int IDC_CW_PLC2_COLON_UP = 1072;
constexpr int IDC_CW_PLC2_COLON_DOWN = 1073;
constexpr int IDC_CW_PLC2_SLASH_UP = 1075;
constexpr int IDC_CW_PLC2_SLASH_DOWN = 1076;
constexpr int IDC_CW_PLC2_ADDRESS = 1077;

// Bit fields of the newer dialog: the second slot lies where the colon part is, the
// third slot where the slash part is.
constexpr int IDC_CW_PLC1_BIT = 1191;
constexpr int IDC_CW_PLC1_BIT_UP = 1048;
constexpr int IDC_CW_PLC1_BIT_DOWN = 1050;
constexpr int IDC_CW_PLC1_BIT3 = 1193;
constexpr int IDC_CW_PLC1_BIT3_UP = 1053;
constexpr int IDC_CW_PLC1_BIT3_DOWN = 1054;
constexpr int IDC_CW_PLC2_BIT = 1192;
constexpr int IDC_CW_PLC2_BIT_UP = 1051;
constexpr int IDC_CW_PLC2_BIT_DOWN = 1052;
constexpr int IDC_CW_PLC2_BIT3 = 1195;
constexpr int IDC_CW_PLC2_BIT3_UP = 1055;
constexpr int IDC_CW_PLC2_BIT3_DOWN = 1056;

// Side, enable boxes, station ID and word count.
constexpr int IDC_CW_COM1 = 1043;               // radio group "Com1" / "Com2"
constexpr int IDC_CW_COM2 = 1044;
constexpr int IDC_CW_ENABLE1 = 1045;            // control word, or the COM1 PLC's error bit
constexpr int IDC_CW_ENABLE2 = 1046;            // the COM2 PLC's error bit
constexpr int IDC_CW_STATION_GROUP = 1177;
constexpr int IDC_CW_STATION_LABEL = 1178;
constexpr int IDC_CW_WORDS_LABEL = 1179;
constexpr int IDC_CW_STATION_ID = 1180;
constexpr int IDC_CW_WORDS = 1181;

// Summary lines: the addresses that OK stores, each followed by its sentence.
constexpr int IDC_CW_CTRL_WORD = 1049;
constexpr int IDC_CW_CTRL_WORD_TEXT = 1079;
constexpr int IDC_CW_ERR_BIT1 = 1078;
constexpr int IDC_CW_ERR_BIT1_TEXT = 1083;
constexpr int IDC_CW_ERR_BIT2 = 1081;
constexpr int IDC_CW_ERR_BIT2_TEXT = 1082;
constexpr int IDC_CW_CTRL_WORD_HELP = 1084;     // the control-word explanation
constexpr int IDC_CW_ERR_BIT_HELP = 1080;       // the error-bit explanation

// "&Ok"; the dialogs' "&Cancel" button is command 1, their default button.
constexpr int IDC_CW_OK = 1047;

// Bitmaps of the "&Ok" and "&Cancel" buttons (the step buttons use IDB_PART_UP and
// IDB_PART_DOWN of the block editor).
constexpr int IDB_OK_BUTTON = 170;
constexpr int IDB_CANCEL_BUTTON = 171;

namespace res {
// IDB_OK_BUTTON (a green tick) or IDB_CANCEL_BUTTON (a red cross); null for another id.
std::shared_ptr<const ui::Bitmap> SettingsBitmap(int id);
}  // namespace res
