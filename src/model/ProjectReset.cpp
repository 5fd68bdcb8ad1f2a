#include "model/ProjectReset.h"

#include "model/BlockRows.h"
#include "model/BlockTableData.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"

void ResetProjectSettingsAndFeatures() {
    // The project's settings, texts and time-outs, the error bits' numbers included.
    g_ProjectSettings = CProjectSettings();

    // The extended tables and the flags the PLC pair's feature keys set; the dialogs of a
    // new project start from their defaults.
    g_EthNodeTable = CEthNodeTable();
    g_EipTagTable = CEipTagTable();
    g_RecipeTables = CRecipeTables();
    g_DefCommRegs = CDefCommRegTables();
    g_GeneralEntity = CGeneralEntityTables();
    g_bExtendedSetup = g_nFeatureCount = 0;
    g_bEthernetSetting = g_bTagTable = 0;
    g_bRecipesCom1 = g_bRecipesCom2 = 0;
    g_bAttachRegCom1 = g_bAttachRegCom2 = 0;
    g_bGeneralEntityCom1 = g_bGeneralEntityCom2 = 0;
    g_bUsesPlc141 = 0;
    g_nRecipeState = 1;
    g_bDefCommRegFill = 1;
    g_bExtSetupError1 = g_bExtSetupError2 = 1;
    g_bNewProject = 1;
    g_bBlockExSaved = g_bBlockExSlaveMode = g_bSlaveMode = 0;
}

void ResetProjectModel() {
    ResetProjectSettingsAndFeatures();

    // Its rows and the working store of the internal databases.
    g_BlockListRows.clear();
    g_OlderBlockListRows.clear();
    g_IdbPaneRows[0].clear();
    g_IdbPaneRows[1].clear();
    g_BlockTables = CBlockTableData();
    g_IdbEntries = IdbEntries();
    g_IdbSwitches = IdbPortSwitches();
    g_bIdb1Edited = g_bIdb2Edited = g_bIdbModified = 0;

    // The project's file, its edit state in both editors and what its PLC pair allowed.
    // (Whether a project level is shown, g_bProjectOpen and g_bNoBlockView, is the frame's.)
    g_bBlockExUntitled = g_bBlockListEdited = 0;
    g_bUntitled = g_bProjectSaved = g_bProjectModified = 0;
    g_nBlockLayout = 0;
    g_bNewBlockListEdited = 0;
    g_bCtrlWordDlgOK = g_bCtrlWordConfirmed = 0;
    g_bIdbDialogUsed = 0;
    g_bCanUploadMac = g_bCanEthernetDownload = g_bCanRunKorvo = g_bCanHtmlDownload = 0;
    g_bCom2Driver135 = 0;
    g_nBlockEditRow = g_nBlockEditCol = 0;
    g_nNewBlockEditRow = g_nNewBlockEditCol = 0;
    g_bIdbViewsFilled = 0;
    g_strPrjFile.clear();
    g_strPrjFileLastIo.clear();
    g_szPrjFileTitle.clear();
    g_szIdbFile1.clear();
    g_szIdbFile2.clear();
    // Both decide which files a save names: another project's must not.
    g_bPrjFileLoaded = 0;
    g_bSaveAs = 0;
    IdbRowsChanged(0);  // a pane still standing shows no rows
}
