#pragma once
// Resource ids of the transfer-block editor: the info window, the register address
// dialog, the newer block list and its in-place controls, and the editor's bitmaps.

// The info window under a block list.
constexpr int IDD_ERROR_MESSAGES = 158;

// The register address dialog.
constexpr int IDD_REGISTER_ADDRESS = 319;
constexpr int IDC_REGISTER_TYPE = 1002;       // register types of the port
constexpr int IDC_ACCESS_TEXT = 1229;         // "Read-Write" / "Read-Only"
constexpr int IDC_REGISTER_RADIO = 1175;      // "Register"
constexpr int IDC_BIT_ADDRESSED_RADIO = 1045; // "Bit-Addressed Register"
constexpr int IDC_RANGE_TEXT = 1017;
constexpr int IDC_NUMBER_PART = 1007;
constexpr int IDC_NUMBER_PART_UP = 1010;
constexpr int IDC_NUMBER_PART_DOWN = 1012;
constexpr int IDC_COLON_PART = 1008;
constexpr int IDC_COLON_PART_UP = 1011;
constexpr int IDC_COLON_PART_DOWN = 1013;
constexpr int IDC_SLASH_PART = 1009;
constexpr int IDC_SLASH_PART_UP = 1014;
constexpr int IDC_SLASH_PART_DOWN = 1015;
constexpr int IDC_BIT_EDIT = 1018;   // bit in the second position
constexpr int IDC_BIT_UP = 1019;
constexpr int IDC_BIT_DOWN = 1020;
constexpr int IDC_BIT2_EDIT = 1021;  // bit in the third position
constexpr int IDC_BIT2_UP = 1022;
constexpr int IDC_BIT2_DOWN = 1023;
constexpr int IDC_BIT3_EDIT = 1024;  // bit in the fourth position
constexpr int IDC_BIT3_UP = 1025;
constexpr int IDC_BIT3_DOWN = 1026;
constexpr int IDC_ADDRESS_TEXT = 1016;  // the address being built

// The newer block list: the list fills its pane; the in-place controls over its cells.
constexpr int IDC_NEW_BLOCK_LIST = 59648;
constexpr int IDC_SOURCE_ADDR_BUTTON = 1;
constexpr int IDC_DEST_ADDR_BUTTON = 2;
constexpr int IDC_NEW_CELL_EDIT = 3;
constexpr int IDC_NEW_CELL_COMBO = 8;

// Bitmaps: the step buttons of the address parts and the Set Address buttons.
constexpr int IDB_PART_UP = 160;
constexpr int IDB_PART_DOWN = 161;
constexpr int IDB_SET_ADDRESS = 162;
