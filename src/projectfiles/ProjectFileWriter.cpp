#include "projectfiles/ProjectFileWriter.h"

#include "model/ExtendedTables.h"
#include "model/ProjectFileFormat.h"
#include "projectfiles/ProjectFileSections.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "compiler/IdbImage.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/StringTable.h"
#include "ui/Backend.h"
#include "ui/FrameHost.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace prjfile;
using platform::Atoi;

namespace {

std::string FileTitle(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Room a file name leaves for the name of the file it is written through.
constexpr size_t kReplaceSuffixRoom = 16;

}  // namespace

void WriteSettingsRecord(FieldWriter& w, bool threePorts, int portOneCodes, int thirdPortTable) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const CProjectSettings& s = g_ProjectSettings;
    auto port = [&](int p, int baudPort) {
        const int* ps = s.g_anPortSettings[p];
        w.Byte(BaudToCode(ps[kPortBaud], baudPort, portOneCodes));
        w.Byte(DataBitsToCode(ps[kPortDataBits]));
        w.Byte(ps[kPortStopBits]);
        w.Byte(ps[kPortParity]);
    };
    if (threePorts) {
        for (int twice = 0; twice < 2; ++twice) {
            w.Byte(Atoi(t.g_strPLC1Id));
            w.Byte(Atoi(t.g_strPlc1ModelNo));
        }
        port(0, 0);
        port(1, 1);
        port(2, thirdPortTable);
        for (int p = 0; p < 3; ++p) w.Byte(s.g_anPortTimeout[p]);
    } else {
        w.Byte(Atoi(t.g_strPLC1Id));
        w.Byte(Atoi(t.g_strPlc1ModelNo));
        w.Byte(Atoi(t.g_strPLC2Id));
        w.Byte(Atoi(t.g_strPlc2ModelNo));
        port(0, 0);
        port(1, 1);
        w.Byte(s.g_bCtrlWordEnabled);
        w.Byte(s.g_nCtrlWordSide);
        w.Byte(s.g_bErrBit1Enabled);
        w.Byte(s.g_bErrBit2Enabled);
        w.Byte(s.g_anAdvSetting1[2]);
        w.Byte(s.g_anAdvSetting1[0]);
        w.Byte(s.g_anAdvSetting1[1]);
    }
    w.Text(s.g_strCtrlWordAddr, kAddressTextWidth);
    w.Text(s.g_strErrBitAddr1, kAddressTextWidth);
    w.Text(s.g_strErrBitAddr2, kAddressTextWidth);
    w.Byte(s.g_anAdvSetting2[2]);
    w.Byte(s.g_anAdvSetting2[0]);
    w.Byte(s.g_anAdvSetting2[1]);
}

std::string BuildNewerProjectFile(const BlockRows& rows) {
    CProjectSettings& s = g_ProjectSettings;
    std::string bytes;
    FieldWriter w(bytes);

    w.Text(kFileTag, kTagWidth);
    // The product's format number, when its data.inf gives one the reader opens again (a
    // signed byte above 0). Without one the file is saved in a format the reader opens:
    // the newest this program writes, or (declined) the one the project already has.
    const int previous = s.g_nProjFileVersion;
    s.g_nProjFileVersion = deffiles::ReadDataProjectVersion(g_szProductName);
    if (!IsReadableFormat(s.g_nProjFileVersion)) {
        const bool convert =
            ui::MessageBox(LoadString(IDS_CONVERT_ON_SAVE), "Quorvex", ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
        s.g_nProjFileVersion = !convert && IsReadableFormat(previous) ? previous : kProjectTextsFormat;
    }
    w.Raw(VersionField(s.g_nProjFileVersion));

    w.Seek(kSettingsOffset);
    const bool threePorts = g_nDeviceId == 84;
    WriteSettingsRecord(w, threePorts, 27, 0);  // port 2 takes its baud code from port 0's table

    const int count = deffiles::ReadProductCount();
    for (int n = 1; n <= count; ++n) {
        if (deffiles::ReadProductName(n) != g_szProductName) continue;
        s.g_nProductNo = Atoi(deffiles::ReadProductValue("ProductNo", n));
        s.g_nProjectVersion = Atoi(deffiles::ReadProductValue("ProjectVersion", n));
        break;
    }
    if (threePorts) s.g_nProductNo = 84;
    w.Byte('*');
    w.Byte(s.g_nProductNo);
    w.Byte(s.g_nProjectVersion);
    w.Byte('*');
    w.Byte(s.g_nCtrlWordStation);
    w.Byte(s.g_nCtrlWordWords);
    w.Byte(s.g_nErrBit1);
    w.Byte(s.g_nErrBit2);
    w.Byte(g_bExtendedSetup);

    w.Seek(kBlockCountOffset);
    const size_t n = std::min<size_t>(rows.size(), kMaxBlocks);
    w.U16LE(static_cast<unsigned>(n));
    for (size_t r = 0; r < n; ++r) {
        for (size_t c = 0; c < kBlockColumns; ++c) {
            const std::string& text = rows[r][c];
            w.Text(c == kColWords ? CPlcRegisterTables::FitStringToWidth(text, 5) : text, kBlockColumnWidths[c]);
        }
    }
    if (s.g_nProjFileVersion >= kProjectTextsFormat) {
        s.g_strProjModified = ProjectTimeStamp();
        const std::string* texts[5] = {&s.g_strProjAuthor, &s.g_strProjTitle, &s.g_strProjCreated,
                                       &s.g_strProjModified, &s.g_strProjDescription};
        for (int i = 0; i < 5; ++i) w.Text(*texts[i], kProjectTextWidths[i], kProjectTextFill);
    }
    return bytes;
}

std::string BuildFeatureSections() {
    std::string bytes;
    FieldWriter w(bytes);
    if (g_bEthernetSetting == 1) WriteNodeTableSection(w);
    if (g_bTagTable == 1) WriteTagTableSection(w);
    if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) WriteRecipeSection(w);
    if (g_bAttachRegCom1 == 1) {
        g_bDefCommRegFill = 0;
        WriteAttachRegSection(w, 1);
    }
    if (g_bAttachRegCom2 == 1) {
        g_bDefCommRegFill = 0;
        WriteAttachRegSection(w, 2);
    }
    if (g_bGeneralEntityCom1 == 1 || g_bGeneralEntityCom2 == 1) WriteGeneralEntitySections(w);
    return bytes;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    return platform::ReplaceFileWhole(path, bytes, error);
}

void FinishInterruptedSave(const std::string& prjPath) {
    if (prjPath.empty()) return;
    platform::FinishInterruptedReplace(prjPath, {ProjectIdbPath(prjPath, 1), ProjectIdbPath(prjPath, 2)});
}

bool ReadProjectFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    FinishInterruptedSave(path);
    return platform::ReadFileSafely(path, platform::kProjectFileCap, bytes, error);
}

namespace {

void ShowHeldElsewhere(const std::string& path) {
    ui::MessageBox("The project \"" + path + "\" is open in another Quorvex program. It can be opened or saved here "
                   "only after that program has closed it.",
                   "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

// The internal-database files are named from the path less its last four characters: a
// project of another name with the same stem (kill.prj for kill.bak) shares them. Such a
// project that another program holds keeps its companions from this save.
bool CompanionsFree(const std::string& path) {
    if (path.size() <= 4) return true;
    const std::string holder = platform::FindHeldElsewhere(path.substr(0, path.size() - 4), 4);
    if (holder.empty()) return true;
    ShowHeldElsewhere(holder);
    return false;
}

}  // namespace

bool HoldProjectFile(const std::string& path) {
    std::string error;
    if (path.empty() || platform::HoldFile(path, error) != platform::HoldResult::HeldElsewhere) return true;
    ShowHeldElsewhere(path);
    return false;
}

void SettleProjectHold() {
    // A project has a file of its own once it was opened or saved (in either editor).
    const bool own = g_bProjectOpen == 1 && ((g_bUntitled == 0 && g_bProjectSaved == 1) ||
                                             (g_bBlockExUntitled == 0 && g_bBlockExSaved == 1));
    const std::string path = own ? g_ProjectSettings.g_strProjPath : std::string();
    platform::ReleaseHeldFiles(path);
    // Where the filesystem gives no locks, the project is kept open all the same; that
    // another program cannot be kept from it is said once, when this program takes it.
    static std::string s_saidUnlocked;
    if (s_saidUnlocked != path) s_saidUnlocked.clear();
    std::string error;
    if (!path.empty() && platform::HoldFile(path, error) == platform::HoldResult::HeldUnlocked &&
        s_saidUnlocked != path) {
        s_saidUnlocked = path;
        ui::MessageBox("The project \"" + path + "\" is on a file system without locks: another Quorvex program "
                       "cannot be kept from opening and saving it while it is open here.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    }
}

bool CommitProjectSave(platform::ReplaceBatch& batch, const std::string& prjPath) {
    if (!HoldProjectFile(prjPath) || !CompanionsFree(prjPath)) {
        g_bProjectModified = 1;
        return false;
    }
    FinishInterruptedSave(prjPath);
    std::string error;
    if (batch.Commit(error)) {
        ui::SetMainTitle(FileTitle(prjPath) + " - Quorvex - " + g_szProductNameCopy);
        SettleProjectHold();
        return true;
    }
    // The project is named once: a failure at its own file (or the save's journal) gives
    // the reason alone, one at an image file names that file.
    ui::MessageBox("Unable to save the project to \"" + prjPath + "\": " +
                       (batch.FailedAt(prjPath) ? batch.FailureReason() : error),
                   "Quorvex", ui::MB_OK | ui::MB_ICONHAND);
    g_bProjectModified = 1;
    return false;
}

int WriteNewerProjectFile(const std::string& path, const BlockRows& rows, size_t& endPosition) {
    // The project comes with its two image files: a name whose companions (or the files they
    // are written through) cannot exist is refused before anything is written.
    for (const std::string& file : {path, ProjectIdbPath(path, 1), ProjectIdbPath(path, 2)}) {
        const std::string resolved = platform::ResolvePath(file);
        if (resolved.size() - resolved.rfind('/') - 1 + kReplaceSuffixRoom > NAME_MAX) {
            ui::MessageBox("Unable to save the project to \"" + path + "\": " + std::strerror(ENAMETOOLONG), "Quorvex",
                           ui::MB_OK | ui::MB_ICONHAND);
            return -1;
        }
    }
    // An address the file cannot hold whole would come back as another (an upload brings
    // the unit's addresses as they are): nothing is written.
    const CProjectSettings& s = g_ProjectSettings;
    const std::pair<const std::string*, const char*> addresses[] = {
        {&s.g_strCtrlWordAddr, "control word address"},
        {&s.g_strErrBitAddr1, "error bit address of COM1"},
        {&s.g_strErrBitAddr2, "error bit address of COM2"}};
    for (const auto& [address, name] : addresses) {
        if (address->size() <= kAddressTextWidth) continue;
        ui::MessageBox(std::string("The ") + name + " \"" + *address + "\" is longer than the project file keeps (" +
                           std::to_string(kAddressTextWidth) + " characters). Please choose another one and save again.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return -1;
    }
    if (!HoldProjectFile(path) || !CompanionsFree(path)) return -1;
    const std::string bytes = BuildNewerProjectFile(rows);
    std::string error;
    if (!ReplaceFile(path, bytes, error)) {
        ui::MessageBox("Unable to save the project to \"" + path + "\": " + error, "Quorvex",
                       ui::MB_OK | ui::MB_ICONHAND);
        return -1;
    }
    g_strPrjFileLastIo = path;
    g_szPrjFileTitle = FileTitle(path);
    const std::string base = g_bSaveAs == 1 ? path
                             : (g_bProjectModified == 1 || g_bPrjFileLoaded == 1) ? g_strPrjFile
                                                                                 : path;
    const std::string idbBase = base.empty() ? path : base;
    g_szIdbFile1 = ProjectIdbPath(idbBase, 1);
    g_szIdbFile2 = ProjectIdbPath(idbBase, 2);
    // A companion that is a link out of the project's folder is never written through:
    // the save puts a file of its own in its place.
    if (platform::ReplaceBatch* batch = platform::ReplaceBatch::Active())
        for (const std::string& file : {g_szIdbFile1, g_szIdbFile2, ProjectIdbPath(path, 1), ProjectIdbPath(path, 2)})
            batch->OwnFileInPlaceOfOutsideLink(file);
    endPosition = bytes.size();
    g_bProjectModified = 0;
    // Within a save of several files the title follows the file once the save has put it
    // in place (CommitProjectSave): a save that writes nothing leaves the title alone.
    if (!platform::ReplaceBatch::Active()) ui::SetMainTitle(FileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    return 0;
}

int AppendNewerFeatureSections(const std::string& path, size_t& endPosition) {
    std::string bytes;
    if (!platform::ReadFileBytes(path, bytes) || bytes.size() < endPosition) {
        ui::MessageBox("Unable to save the project to \"" + path + "\".", "Quorvex", ui::MB_OK | ui::MB_ICONHAND);
        g_bProjectModified = 1;
        return -1;
    }
    bytes.resize(endPosition);
    bytes += BuildFeatureSections();
    std::string error;
    if (!ReplaceFile(path, bytes, error)) {
        ui::MessageBox("Unable to save the project to \"" + path + "\": " + error, "Quorvex",
                       ui::MB_OK | ui::MB_ICONHAND);
        g_bProjectModified = 1;
        return -1;
    }
    endPosition = bytes.size();
    return 0;
}
