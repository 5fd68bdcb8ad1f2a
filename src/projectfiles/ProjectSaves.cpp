#include "projectfiles/ProjectSaves.h"

#include "model/BlockTableData.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "platform/Files.h"
#include "projectfiles/ProjectFileWriter.h"

#include <functional>
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectIdb.h"

namespace {

// The project state a save changes before it writes, put back when the write fails so
// that nothing claims a file that was never written.
struct SaveFlags {
    int untitled = g_bUntitled, saved = g_bProjectSaved, saveAs = g_bSaveAs;
    CProjectSettings settings = g_ProjectSettings;
    std::string prjFile = g_strPrjFile, lastIo = g_strPrjFileLastIo;
    // The file the title and the internal-database images are taken from.
    std::string prjFileTitle = g_szPrjFileTitle, idbFile1 = g_szIdbFile1, idbFile2 = g_szIdbFile2;
    // What the next save must still write when this one reaches no file.
    int blockListEdited = g_bNewBlockListEdited, ctrlWordOK = g_bCtrlWordDlgOK;
    int idb1Edited = g_bIdb1Edited, idb2Edited = g_bIdb2Edited, idbModified = g_bIdbModified;
    int modified = g_bProjectModified;
    // What a save derives from the blocks before it writes: the internal-database rows and
    // tables, and from them the default registers and the node addresses.
    CBlockTableData blockTables = g_BlockTables;
    std::vector<IdbPaneRow> idbRows1 = g_IdbPaneRows[0], idbRows2 = g_IdbPaneRows[1];
    IdbEntries idbEntries = g_IdbEntries;
    int idbViewsFilled = g_bIdbViewsFilled;
    CDefCommRegTables defCommRegs = g_DefCommRegs;
    CEthNodeTable nodes = g_EthNodeTable;
    // A Save As that wrote nothing leaves the mark as it was; a failed save over the
    // project's own file, or its first, leaves the project marked.
    bool keepMark = false;
    void Restore() const {
        g_bNewBlockListEdited = blockListEdited;
        g_bCtrlWordDlgOK = ctrlWordOK;
        g_bIdb1Edited = idb1Edited;
        g_bIdb2Edited = idb2Edited;
        g_bIdbModified = idbModified;
        g_bUntitled = untitled;
        g_bProjectSaved = saved;
        g_bSaveAs = saveAs;
        g_ProjectSettings.g_strProjPath = settings.g_strProjPath;
        g_ProjectSettings.g_strProjCreated = settings.g_strProjCreated;
        g_ProjectSettings.g_strProjModified = settings.g_strProjModified;
        // The format, product and version the writer chose belong to a file not written.
        g_ProjectSettings.g_nProjFileVersion = settings.g_nProjFileVersion;
        g_ProjectSettings.g_nProductNo = settings.g_nProductNo;
        g_ProjectSettings.g_nProjectVersion = settings.g_nProjectVersion;
        g_strPrjFile = prjFile;
        g_strPrjFileLastIo = lastIo;
        g_szPrjFileTitle = prjFileTitle;
        g_szIdbFile1 = idbFile1;
        g_szIdbFile2 = idbFile2;
        g_bProjectModified = keepMark ? modified : 1;
        g_BlockTables = blockTables;
        g_IdbPaneRows[0] = idbRows1;
        g_IdbPaneRows[1] = idbRows2;
        g_IdbEntries = idbEntries;
        g_bIdbViewsFilled = idbViewsFilled;
        g_DefCommRegs = defCommRegs;
        g_EthNodeTable = nodes;
        IdbRowsChanged(0);  // the panes show the rows put back
        SettleProjectHold();  // a file held for this save only is let go
    }
};

// The end of a save: what it staged goes to disk as one replace, or nothing does and
// the project stays modified with the flags its next save needs.
bool CommitSave(platform::ReplaceBatch& batch, const std::string& path, const SaveFlags& before, bool sectionsOk) {
    if (!sectionsOk || !CommitProjectSave(batch, path)) {
        before.Restore();
        return false;
    }
    return true;
}

// The saves of the project in the model: the .prj, its sections and the internal-database
// files go to disk in one replace, or nothing does and the project stays modified.

// The file over path, then the databases as updateIdb brings them up to date, then the
// sections and the one replace.
bool WriteSave(const std::string& path, const SaveFlags& before, const std::function<void()>& updateIdb) {
    platform::ReplaceBatch batch;
    size_t end = 0;
    if (WriteNewerProjectFile(path, g_BlockListRows, end) != 0) {
        before.Restore();
        return false;
    }
    g_strPrjFile = path;
    updateIdb();
    const bool sections = g_bExtendedSetup != 1 || AppendNewerFeatureSections(path, end) == 0;
    return CommitSave(batch, path, before, sections);
}

}  // namespace

bool SaveNewerProjectFirst(const std::string& path) {
    const SaveFlags before;
    g_ProjectSettings.g_strProjPath = path;
    g_strPrjFile = path;
    g_bUntitled = 0;
    g_bProjectSaved = 1;
    return WriteSave(path, before, [] {
        UpdateIdbAfterSave(g_BlockListRows, IdbSaveState{true, g_bNewBlockListEdited == 1, g_bCtrlWordDlgOK == 1});
        g_bNewBlockListEdited = 0;
        g_bCtrlWordDlgOK = 0;
        g_bIdbViewsFilled = 1;
    });
}

bool SaveNewerProject() {
    const SaveFlags before;
    g_ProjectSettings.g_strProjModified = ProjectTimeStamp();
    return WriteSave(g_ProjectSettings.g_strProjPath, before, [] {
        const bool edited = g_bNewBlockListEdited == 1;
        UpdateIdbAfterSave(g_BlockListRows, IdbSaveState{false, edited, g_bCtrlWordDlgOK == 1});
        if (edited) {
            g_bNewBlockListEdited = 0;
            g_bIdbViewsFilled = 1;
        }
        g_bCtrlWordDlgOK = 0;
    });
}

bool SaveNewerProjectAs(const std::string& path) {
    SaveFlags before;
    before.keepMark = true;
    g_ProjectSettings.g_strProjPath = path;
    g_bUntitled = 0;
    g_bProjectSaved = 1;
    g_bSaveAs = 1;
    g_ProjectSettings.g_strProjModified = g_ProjectSettings.g_strProjCreated = ProjectTimeStamp();
    g_strPrjFileLastIo = path;
    return WriteSave(path, before, [] {
        UpdateIdbAfterSave(g_BlockListRows,
                           IdbSaveState{true, g_bNewBlockListEdited == 1, g_bCtrlWordDlgOK == 1, true});
        g_bNewBlockListEdited = 0;
        g_bCtrlWordDlgOK = 0;
        g_bIdbViewsFilled = 1;
    });
}

bool SaveNewerProjectOnClose() {
    const SaveFlags before;
    return WriteSave(g_ProjectSettings.g_strProjPath, before, [] { BuildIdbImage(g_BlockListRows); });
}

bool SaveNewerProjectOnFrameClose(const std::string& path) {
    const SaveFlags before;
    platform::ReplaceBatch batch;
    size_t end = 0;
    if (WriteNewerProjectFile(path, g_BlockListRows, end) != 0) {
        before.Restore();
        return false;
    }
    // The sections as the project holds them, then the databases derived from its blocks.
    const bool sections = g_bExtendedSetup != 1 || AppendNewerFeatureSections(path, end) == 0;
    if (sections) BuildIdbImage(g_BlockListRows);
    return CommitSave(batch, path, before, sections);
}
