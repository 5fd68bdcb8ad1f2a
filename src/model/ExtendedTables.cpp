#include "model/ExtendedTables.h"

CEthNodeTable g_EthNodeTable;
CEipTagTable g_EipTagTable;
CRecipeTables g_RecipeTables;
CDefCommRegTables g_DefCommRegs;
CGeneralEntityTables g_GeneralEntity;
CNameListSet g_NameListSet;

int g_bExtendedSetup = 0;
int g_nFeatureCount = 0;
int g_bEthernetSetting = 0;
int g_bTagTable = 0;
int g_bRecipesCom1 = 0, g_bRecipesCom2 = 0;
int g_bAttachRegCom1 = 0, g_bAttachRegCom2 = 0;
int g_bGeneralEntityCom1 = 0, g_bGeneralEntityCom2 = 0;
int g_bUsesPlc141 = 0;
int g_bDefCommRegFill = 0;
int g_bExtSetupError1 = 0, g_bExtSetupError2 = 0;
int g_nRecipeState = 0;
uint32_t g_bRecipeDlgOpen = 0;
int g_bIdb1Edited = 0, g_bIdb2Edited = 0, g_bIdbModified = 0;
