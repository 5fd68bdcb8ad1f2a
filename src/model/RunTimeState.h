#pragma once
// Which product, level and editor generation are current, and the state of the open
// project. Names are texts of any length here (the original kept them in 50-character
// buffers).
#include <string>
#include <vector>

extern std::string g_szProductName;      // current product, also its folder name
extern std::string g_szProductPath;      // scratch: product name plus a relative tail
extern std::string g_szProductNameCopy;  // copy used in titles and paths
extern unsigned g_nDeviceId;             // 81 before any pick
extern unsigned g_nDeviceIdAlt;          // always the same value as g_nDeviceId
extern std::string g_szHelpTopic;
extern int g_nStartScreen, g_nMainScreen;  // 1 product level, 2 protocol level
extern int g_nDownloadDlgMode, g_nTransferMode;  // 0 none, 1 download, 2 upload
extern int g_bProductSelected, g_bProductSelected2;
extern int g_bIdbLevelFlag;
extern int g_bProjectOpen;
extern int g_bNoBlockView;
// Older generation: untitled, tied to a file, edited.
extern int g_bBlockExUntitled, g_bBlockExSaved, g_bBlockListEdited;
// Newer generation: untitled, tied to a file, edited.
extern int g_bUntitled, g_bProjectSaved, g_bProjectModified;
extern int g_bBlockExSlaveMode, g_bSlaveMode;
// Which side of a newer slave-mode project is the slave: 2 the COM2 PLC, 1 the COM1 PLC.
extern int g_nBlockLayout;
// The newer block list changed since the internal-database rows were last derived.
extern int g_bNewBlockListEdited;
extern int g_bCanUploadMac, g_bCanEthernetDownload, g_bCanRunKorvo, g_bCanHtmlDownload;
extern int g_bCom2IsCAN;
extern int g_bCom2Driver135;  // the COM2 driver id is "135"
extern int g_bNewProject;
extern std::string g_strPrjFileLastIo;  // project file last loaded or written
extern std::string g_szVersionProduct;  // product chosen in the version-mismatch dialog
// The older editor's current cell (row and column of the cell being edited).
extern int g_nBlockEditRow, g_nBlockEditCol;
// The newer editor's current cell.
extern int g_nNewBlockEditRow, g_nNewBlockEditCol;
// Driver ids whose COM2 side uses the parameter-group layout (the product's CANDrivers.inf).
extern std::vector<std::string> g_arrCanDrivers;
// The last item chosen in a selection tree and its parent's text.
extern std::string g_strTreeItem, g_strTreeParent;
// Number of recent-project entries in the start menu.
extern int g_nRecentMenuCount;
// 1 once the internal-database panes' row settings have been captured (after a save).
extern int g_bIdbViewsFilled;
// Project files: the file of the open project, the file last written or loaded and its
// title, the internal-database companions, whether a file was ever loaded, and whether
// Save As was used since the program started.
extern std::string g_strPrjFile;
extern std::string g_szPrjFileTitle;
extern std::string g_szIdbFile1, g_szIdbFile2;
extern unsigned g_bPrjFileLoaded;
extern int g_bSaveAs;
// The newer control-word dialog was confirmed with OK since the last save (the save then
// derives the internal databases again), and with the control word enabled.
extern int g_bCtrlWordDlgOK;
extern int g_bCtrlWordConfirmed;
// An internal-database dialog was used since the project was opened.
extern int g_bIdbDialogUsed;
