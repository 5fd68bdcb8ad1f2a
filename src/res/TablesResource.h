#pragma once
// Resource ids of the extended data tables: the internal-database panes and the editors
// they lay over a cell.

// The report list that fills each internal-database pane.
constexpr int IDC_IDB_LIST = 59648;
// The choice list and the edit placed over a clicked cell.
constexpr int IDC_IDB_CELL_COMBO = 1001;
constexpr int IDC_IDB_CELL_EDIT = 1;

// Default communication registers.
constexpr int IDD_DEF_COMM_REG = 372;
constexpr int IDC_ATTACH_LIST_COM1 = 1225;
constexpr int IDC_ATTACH_LIST_COM2 = 1004;
constexpr int IDC_ATTACH_EDIT_COM1 = 3;  // the Words editor over a Com1 cell
constexpr int IDC_ATTACH_EDIT_COM2 = 4;  // the Words editor over a Com2 cell
constexpr int IDC_DEF_COMM_REG_ICON = 1403;
constexpr int IDI_DEF_COMM_REG = 373;  // its picture (the template gives it no number)

// Recipes: the grid, its context menu and the editors laid over a grid cell.
constexpr int IDD_RECIPE = 368;
constexpr int IDC_RECIPE_GRID = 1221;
constexpr int IDR_RECIPE_POPUP = 369;
constexpr int ID_RECIPE_INSERT_ROW = 32871;
constexpr int ID_RECIPE_DELETE_ROW = 32872;
constexpr int IDC_GRID_COMBO = 1301;
constexpr int IDC_GRID_EDIT = 1302;
constexpr int IDC_GRID_BUTTON = 1303;  // the address button (the dialog's own 1 is OK)
constexpr int IDC_RECIPE_PICTURE = 1401;
constexpr int IDB_RECIPES = 387;

// Ethernet node table.
constexpr int IDD_ETHERNET_NODE_TABLE = 376;
constexpr int IDC_NODE_LIST = 1226;
constexpr int IDC_NODE_ADDRESS = 1204;
constexpr int IDC_NODE_IP = 1205;  // first octet of the IP address; the others follow
constexpr int IDC_NODE_IP2 = 1311;
constexpr int IDC_NODE_IP3 = 1312;
constexpr int IDC_NODE_IP4 = 1313;
constexpr int IDC_NODE_PORT = 1206;
constexpr int IDC_NODE_CHANGE = 1228;
constexpr int IDC_NODE_RESET = 1004;

// EtherNet/IP tag table.
constexpr int IDD_EIP_TAG_TABLE = 341;
constexpr int IDC_TAG_LIST = 1215;
constexpr int IDC_TAG_NAME = 1209;
constexpr int IDC_TAG_TYPE = 1212;
constexpr int IDC_TAG_SIZE = 1210;
constexpr int IDC_TAG_ADD = 1213;
constexpr int IDC_TAG_DELETE = 1214;
constexpr int IDC_TAG_CONFIRM = 3;
constexpr int IDC_TAG_PICTURE = 1402;
constexpr int IDB_TAG_TABLE = 344;

// General entity (made only to reset the general-entity data).
constexpr int IDD_GENERAL_ENTITY = 375;
