#pragma once
// Resource ids of the application shell: the application's commands and the shell's
// small dialogs.
#include "ui/Types.h"

constexpr int IDC_STATIC = -1;

// Menus, toolbars and the document template of the main window.
constexpr int IDR_MAINFRAME = 128;

// Commands of the application.
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = ui::ID_HELP;

// The AppID registration script.
constexpr int IDR_QUORVEX = 109;

// About box.
constexpr int IDD_ABOUTBOX = 290;
constexpr int IDC_SOFTWARE_VERSION = 1148;
constexpr int IDC_COMPANY_NAME = 1149;
constexpr int IDC_COPYRIGHT = 1216;

// Splash screen.
constexpr int IDD_SPLASH = 202;
constexpr int IDC_SPLASH_PICTURE = 1148;

// The self-closing refresh dialog.
constexpr int IDD_REFRESH = 214;

// Project Information.
constexpr int IDD_PROJECT_INFO = 159;
constexpr int IDC_COM1_PROTOCOL = 1062;
constexpr int IDC_COM1_MODEL = 1066;
constexpr int IDC_COM2_PROTOCOL = 1065;
constexpr int IDC_COM2_MODEL = 1067;
constexpr int IDC_PROJECT_PATH = 1007;
constexpr int IDC_PROJECT_AUTHOR = 807;
constexpr int IDC_PROJECT_TITLE = 805;
constexpr int IDC_PROJECT_DESCRIPTION = 813;
constexpr int IDC_PROJECT_CREATED = 809;
constexpr int IDC_PROJECT_MODIFIED = 811;
constexpr int IDC_PROJECT_INFO_CANCEL = 1003;

// Project version mismatch.
constexpr int IDD_VERSION_MISMATCH = 234;
constexpr int IDC_PRODUCT_LIST = 1002;
