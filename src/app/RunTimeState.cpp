#include "app/RunTimeState.h"

std::string g_szProductName;
std::string g_szProductPath;
std::string g_szProductNameCopy;
unsigned g_nDeviceId = 81;
unsigned g_nDeviceIdAlt = 81;
std::string g_szHelpTopic;
int g_nStartScreen = 0, g_nMainScreen = 0;
int g_nDownloadDlgMode = 0, g_nTransferMode = 0;
int g_bProductSelected = 0, g_bProductSelected2 = 0;
int g_bIdbLevelFlag = 0;
int g_bProjectOpen = 0;
int g_bNoBlockView = 1;
int g_bBlockExUntitled = 0, g_bBlockExSaved = 0, g_bBlockListEdited = 0;
int g_bUntitled = 0, g_bProjectSaved = 0, g_bProjectModified = 0;
int g_bBlockExSlaveMode = 0, g_bSlaveMode = 0;
int g_bCanUploadMac = 0, g_bCanEthernetDownload = 0, g_bCanRunKorvo = 0, g_bCanHtmlDownload = 0;
int g_bCom2IsCAN = 0;
int g_bCom2Driver135 = 0;
int g_bNewProject = 0;
std::string g_strPrjFileLastIo;
std::string g_szVersionProduct;
int g_nBlockEditRow = 0, g_nBlockEditCol = 0;
int g_nNewBlockEditRow = 0, g_nNewBlockEditCol = 0;
std::vector<std::string> g_arrCanDrivers;
std::string g_strTreeItem, g_strTreeParent;
int g_nRecentMenuCount = -1;
int g_bIdbViewsFilled = 0;
