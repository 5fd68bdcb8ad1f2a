#pragma once
// Resource ids of the main window: its menus, toolbars, status bar, panes and commands.
#include "res/ShellResource.h"

constexpr int IDR_PROJECT_MENU = 111;  // the project level's menu (and accelerators)
constexpr int IDR_BLOCK_CONTEXT = 137;

constexpr int AFX_IDW_TOOLBAR = 59392;
constexpr int AFX_IDW_STATUS_BAR = 59393;
constexpr int AFX_IDW_PROJECT_TOOLBAR = 59394;
constexpr int AFX_IDW_PANE_FIRST = 59648;
constexpr int IDC_SELECT_TREE = 4101;

constexpr int kMainTimer = 2;

// Commands.
constexpr int ID_DOWNLOAD = 32771;
constexpr int ID_COM_PORT_SETTING = 32772;
constexpr int ID_FILE_SAVE_PROJECT = 32774;
constexpr int ID_FILE_SAVE_PROJECT_AS = 32775;
constexpr int ID_OPEN_PROJECT = 32777;
constexpr int ID_FILE_NEW_PROJECT = 32778;
constexpr int ID_FILE_CLOSE_PROJECT = 32780;
constexpr int ID_ADD_NEW_BLOCK = 32781;
constexpr int ID_REMOVE_BLOCK = 32782;
constexpr int ID_INSERT_BLOCK = 32783;
constexpr int ID_UPLOAD_PROJECT = 32785;
constexpr int ID_RECENT_PLACEHOLDER = 32788;
constexpr int ID_ERROR_BIT_SETTING = 32794;
constexpr int ID_PLC1_SETTING = 32796;
constexpr int ID_PLC2_SETTING = 32797;
constexpr int ID_CONFIGURE_PROJECT = 32798;
constexpr int ID_PLC_ADVANCE_SETTING = 32799;
constexpr int ID_UPLOAD_SYSTEM_DATA = 32800;
constexpr int ID_CONTROL_WORD_SETTING = 32810;
constexpr int ID_PROJECT_INFORMATION = 32811;
constexpr int ID_COPY_BLOCK = 32816;
constexpr int ID_PASTE_BLOCK = 32818;
constexpr int ID_RECENT_PROJECT1 = 8000;
constexpr int ID_RECENT_PROJECT2 = 32821;
constexpr int ID_RECENT_PROJECT3 = 32822;
constexpr int ID_RECENT_PROJECT4 = 32823;
constexpr int ID_UPLOAD_IP_SETTINGS = 32828;
constexpr int ID_BACK = 32829;
constexpr int ID_TAG_TABLE = 32867;
constexpr int ID_RECIPES = 32869;
constexpr int ID_ATTACH_REGISTERS = 32870;
constexpr int ID_ETHERNET_NODE_TABLE = 32873;
constexpr int ID_MAC_ADDRESS = 32874;
constexpr int ID_HTML_DOWNLOAD = 32875;
constexpr int ID_RUN_KORVO = 32876;
constexpr int ID_ETHERNET_DOWNLOAD = 32879;
constexpr int ID_GUARDED_FEATURE = 65535;
constexpr int ID_HELP_INDEX = 57666;
