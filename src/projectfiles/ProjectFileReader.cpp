#include "projectfiles/ProjectFileReader.h"

#include "model/ExtendedTables.h"
#include "model/ProjectFileFormat.h"
#include "projectfiles/ProjectFileSections.h"
#include "model/ProjectSettings.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectOpenSteps.h"
#include "model/RunTimeState.h"
#include "compiler/IdbDerivation.h"
#include "compiler/IdbImage.h"
#include "plc/FeatureKeys.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/StringTable.h"
#include "model/IpAddress.h"
#include "model/TableResets.h"
#include "ui/Backend.h"

#include <algorithm>

using namespace prjfile;
using platform::Atoi;

ProjectParse ParseNewerProjectFile(const std::string& bytes, NewerProjectFile& out) {
    FieldReader r(bytes);
    out.tag = r.Text(kTagWidth);
    if (!r.Ok() || out.tag != kFileTag) return ProjectParse::NotAProject;
    out.needed = kBlockRowsOffset;
    if (bytes.size() >= kFormatNumberOffset + 1) out.formatNumber = static_cast<signed char>(bytes[kFormatNumberOffset]);
    if (bytes.size() < kBlockRowsOffset) return ProjectParse::Corrupt;
    r.Seek(kFormatNumberOffset);
    out.formatNumber = r.SignedByte();
    r.Seek(kSettingsOffset);
    for (unsigned char& b : out.settings) b = static_cast<unsigned char>(r.Byte());
    out.ctrlWordAddr = r.Text(kAddressTextWidth);
    out.errBitAddr1 = r.Text(kAddressTextWidth);
    out.errBitAddr2 = r.Text(kAddressTextWidth);
    for (int& v : out.advSetting2) v = r.Byte();
    out.productStar1 = r.Byte();
    out.productNo = r.SignedByte();
    out.productVersion = r.SignedByte();
    out.productStar2 = r.Byte();
    out.ctrlWordStation = r.Byte();
    out.ctrlWordWords = r.Byte();
    out.errBit1 = r.Byte();
    out.errBit2 = r.Byte();
    out.extendedSetup = r.Byte();

    r.Seek(kBlockCountOffset);
    const unsigned count = r.U16LE();
    out.blockCount = count;
    if (count > kMaxBlocks) {
        out.needed = 0;
        return ProjectParse::Corrupt;
    }
    out.hasTexts = out.formatNumber >= kProjectTextsFormat;
    const size_t needed = kBlockRowsOffset + count * kBlockRowSize + (out.hasTexts ? kProjectTextsSize : 0);
    out.needed = needed;
    if (bytes.size() < needed) return ProjectParse::Corrupt;
    out.rows.clear();
    for (unsigned i = 0; i < count; ++i) {
        BlockRow row;
        for (size_t c = 0; c < kBlockColumns; ++c) row[c] = r.Text(kBlockColumnWidths[c]);
        out.rows.push_back(row);
    }
    if (out.hasTexts)
        for (int i = 0; i < 5; ++i) out.texts[i] = r.Text(kProjectTextWidths[i]);
    out.sectionsOffset = r.Tell();
    return r.Ok() ? ProjectParse::Ok : ProjectParse::Corrupt;
}

FeatureSet ReadFeatureSet(const std::string& plc1File, const std::string& plc2File) {
    auto on = [](const std::string& file, const char* key) {
        return platform::GetPrivateProfileInt("Extended Setup", key, -1, file) == 1;
    };
    FeatureSet f;
    f.extended = on(plc1File, "ExtendedSetup") || on(plc2File, "ExtendedSetup");
    if (!f.extended) return f;
    f.ethernet = on(plc1File, "EthernetSetting") || on(plc2File, "EthernetSetting");
    f.tags = on(plc1File, "TagTable") || on(plc2File, "TagTable");
    f.recipes = on(plc1File, "Recipes") || on(plc2File, "Recipes");
    f.attach1 = on(plc1File, "AttachRegCom1");
    f.attach2 = on(plc2File, "AttachRegCom2");
    f.entity1 = on(plc1File, "GeneralEntityCom1");
    f.entity2 = on(plc2File, "GeneralEntityCom2");
    return f;
}

namespace {

// The sections a file of these features holds after its texts, in their order.
struct SectionSpec {
    bool on;
    const char* name;
    int code;      // its first byte; 0: a section without a code
    bool counted;  // a row count follows the code
};

std::vector<SectionSpec> Sections(const FeatureSet& f) {
    return {
        {f.ethernet, "node table", 0, false},
        {f.tags, "tag table", 0, false},
        {f.recipes, "recipes", kRecipeSectionCode, true},
        {f.attach1, "default communication registers of COM1", kAttachRegCom1SectionCode, true},
        {f.attach2, "default communication registers of COM2", kAttachRegCom2SectionCode, true},
        {f.entity1, "general settings of COM1", kGeneralEntityCom1SectionCode, false},
        {f.entity2, "general settings of COM2", kGeneralEntityCom2SectionCode, false},
    };
}

bool ReadSection(FieldReader& r, int code) {
    switch (code) {
    case 0: return false;
    case kRecipeSectionCode: return ReadRecipeSection(r);
    case kAttachRegCom1SectionCode: return ReadAttachRegSection(r, 1);
    case kAttachRegCom2SectionCode: return ReadAttachRegSection(r, 2);
    case kGeneralEntityCom1SectionCode: return ReadGeneralEntitySection(r, 1);
    default: return ReadGeneralEntitySection(r, 2);
    }
}

// Reads every present section into the holders; false at the first one that does not fit.
// Each section the features promise is read on its own: a file that ends before one lost
// it and those after it. `starts` gets where each counted section began.
bool ReadSections(FieldReader& r, const FeatureSet& f, SectionsEnd& end, std::vector<size_t>* starts = nullptr) {
    for (const SectionSpec& section : Sections(f)) {
        if (!section.on) continue;
        if (r.Remaining() == 0 || !end.missing.empty()) {
            end.missing.push_back(section.name);
            continue;
        }
        const size_t start = r.Tell();
        if (starts && section.counted) starts->push_back(start);
        bool ok;
        if (section.code == 0)
            ok = std::string(section.name) == "node table" ? ReadNodeTableSection(r) : ReadTagTableSection(r);
        else
            ok = ReadSection(r, section.code);
        if (!ok) {
            end.broken = section.name;
            return false;
        }
    }
    end.trailing = r.Remaining();
    return true;
}

bool Clean(bool ok, const SectionsEnd& end) { return ok && end.trailing == 0 && end.missing.empty(); }

// A file that does not read cleanly: when one section's row count, made smaller, lets the
// rest read as the sections that follow, to the file's end, that count is the damage.
void FindOverCountedSection(const std::string& bytes, size_t offset, const FeatureSet& f,
                            const std::vector<size_t>& starts, SectionsEnd& end) {
    const std::vector<SectionSpec> all = Sections(f);
    std::string patched = bytes;
    for (size_t start : starts) {
        if (start + 1 >= bytes.size()) continue;
        bool counted = false;
        for (const SectionSpec& section : all)
            counted = counted || (section.on && section.counted && section.code == static_cast<unsigned char>(bytes[start]));
        if (!counted) continue;
        const unsigned promised = static_cast<unsigned char>(bytes[start + 1]);
        for (unsigned held = promised; held-- > 0;) {
            patched[start + 1] = static_cast<char>(held);
            FieldReader r(patched, offset);
            SectionsEnd trial;
            const bool clean = Clean(ReadSections(r, f, trial), trial);
            patched[start + 1] = bytes[start + 1];
            if (!clean) continue;
            for (const SectionSpec& section : all)
                if (section.code == static_cast<unsigned char>(bytes[start])) end.overCounted = section.name;
            end.rowsPromised = promised;
            end.rowsHeld = held;
            return;
        }
    }
}

}  // namespace

namespace {

// The longest address the block editor takes.
constexpr size_t kMaxAddressChars = 11;

// Addresses of the rows are checked as typed ones are; one that fails is left out (the
// block check then asks for it). The numbers of the blocks that lost one, from 1.
std::vector<int> DropUnreadableAddresses(BlockRows& rows) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::vector<int> blocks;
    for (size_t i = 0; i < rows.size(); ++i) {
        bool dropped = false;
        for (const auto& [plcCol, addrCol] : {std::pair{kColSourcePlc, kColSourceAddr}, std::pair{kColDestPlc, kColDestAddr}}) {
            std::string& address = rows[i][addrCol];
            const std::string text = platform::Trim(address);
            if (text.empty()) continue;
            const std::string plc = platform::TrimRight(rows[i][plcCol]);
            const int port = plc == t.g_strPLC1Name ? 1 : plc == t.g_strPLC2Name ? 2 : 0;
            const int r = port == 0 ? -1 : t.FindRegisterByPrefix(text, port);
            const bool bad = text.size() > kMaxAddressChars ||
                             (r >= 0 && (port == 1 ? t.ValidateAddressCom1(text, r) : t.ValidateAddressCom2(text, r)) > 0);
            if (!bad) continue;
            address.clear();
            dropped = true;
        }
        if (dropped) blocks.push_back(static_cast<int>(i) + 1);
    }
    return blocks;
}

}  // namespace

bool CheckFeatureSections(const std::string& bytes, size_t offset, const FeatureSet& features, SectionsEnd* end) {
    SectionsEnd found;
    found.trailing = offset < bytes.size() ? bytes.size() - offset : 0;
    if (end) *end = found;
    if (!features.extended) return true;
    // The section readers fill the holders: keep the open project's and put them back.
    const CEthNodeTable nodes = g_EthNodeTable;
    const CEipTagTable tags = g_EipTagTable;
    const CRecipeTables recipes = g_RecipeTables;
    const CDefCommRegTables registers = g_DefCommRegs;
    const CGeneralEntityTables entity = g_GeneralEntity;
    const int flags[] = {g_bGeneralEntityCom1, g_bGeneralEntityCom2, g_bExtSetupError1, g_bExtSetupError2,
                         g_nRecipeState};
    g_bGeneralEntityCom1 = features.entity1;
    g_bGeneralEntityCom2 = features.entity2;
    ClearRecipeTables();
    FieldReader r(bytes, offset);
    std::vector<size_t> starts;
    bool ok = ReadSections(r, features, found, &starts);
    if (!Clean(ok, found)) {
        FindOverCountedSection(bytes, offset, features, starts, found);
        if (!found.overCounted.empty()) ok = false;
    }
    if (end) *end = found;
    g_EthNodeTable = nodes;
    g_EipTagTable = tags;
    g_RecipeTables = recipes;
    g_DefCommRegs = registers;
    g_GeneralEntity = entity;
    g_bGeneralEntityCom1 = flags[0];
    g_bGeneralEntityCom2 = flags[1];
    g_bExtSetupError1 = flags[2];
    g_bExtSetupError2 = flags[3];
    g_nRecipeState = flags[4];
    return ok;
}

// ---------------------------------------------------------------------------------------

void UpdateCom2IsCan() {
    for (const std::string& id : g_arrCanDrivers) {
        if (id == g_PlcRegisterTables.g_strPlc2DriverId) {
            g_bCom2IsCAN = 1;
            return;
        }
        g_bCom2IsCAN = 0;
    }
}

void LoadNewerPlcPairState() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    g_nTransferMode = 0;
    LoadNewerPlcPairLayout();
    g_bUsesPlc141 = (t.g_strPLC1Id == "141" || t.g_strPLC2Id == "141") ? 1 : 0;
    g_bNewProject = 1;
    LoadExtendedSetupKeys();
}

void LoadNewerPlcPairLayout() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    // Slave mode: one rule for new and reopened projects, so that the editor and the
    // compiler agree. The COM1 PLC is the slave when its file says so, else the COM2 PLC.
    const bool slave1 = deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1, slave2 = deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1;
    g_bSlaveMode = slave1 || slave2 ? 1 : 0;
    if (slave1)
        g_nBlockLayout = 1;
    else if (slave2)
        g_nBlockLayout = 2;
    // The internal-database derivation reads the same PLC files.
    LoadIdbSwitches();
    g_arrCanDrivers = deffiles::ReadCanDrivers(g_szProductNameCopy);
    UpdateCom2IsCan();
    g_bCom2Driver135 = t.g_strPlc2DriverId == "135" ? 1 : 0;
    g_bCanHtmlDownload = g_bCanRunKorvo = (t.g_strPLC2Id == "159" || t.g_strPLC2Id == "161") ? 1 : 0;
    if (g_nDeviceId == 94 || g_nDeviceId == 98) {
        g_bCanHtmlDownload = 1;
        g_bCanEthernetDownload = 1;
        g_bCanUploadMac = 1;
    }
}

ProjectOpenResult OpenNewerProject(const std::string& path, const ProjectOpenHooks& hooks,
                                   std::vector<int>& unreadable) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    unreadable.clear();
    auto finish = [] {
        g_bProjectModified = 0;
        g_bProductSelected = g_bProductSelected2 = 1;
    };
    auto refuse = [&](const std::string& text, unsigned flags = ui::MB_OK) {
        ui::MessageBox(text, "Quorvex", flags);
        finish();
        return ProjectOpenResult::NotOpened;
    };

    if (g_szProductName == "Zava Dorazuduvoz") g_nDeviceId = g_nDeviceIdAlt = 84;
    if (g_nDeviceId == 84) return ProjectOpenResult::ThreePort;

    std::string bytes;
    if (!ReadProjectFileShown(path, bytes)) {
        finish();
        return ProjectOpenResult::NotOpened;
    }
    NewerProjectFile file;
    const ProjectParse parse = ParseNewerProjectFile(bytes, file);
    if (parse == ProjectParse::NotAProject) return refuse(LoadString(IDS_NOT_FOR_QUORVEX));
    if (file.productNo == 84) {
        ui::MessageBox("You are trying to open a project that is created for Zava Dorazuduvoz.\nIf you want to open "
                       "this project, please go back to product selection screen and select Zava Dorazuduvoz product.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return ProjectOpenResult::NotOpened;
    }
    // Damage is named for what it is; the version message stays for a format number no
    // version writes.
    auto damaged = [&](const std::string& what) {
        ShowDamagedProject(path, what);
        finish();
        return ProjectOpenResult::NotOpened;
    };
    auto trailing = [&](size_t count) {
        return damaged("its last " + std::to_string(count) +
                       " bytes belong to no part of the project. Either a block or row count of the file does "
                       "not match the rows it holds, or the project has a feature section that its PLC "
                       "definition files no longer declare.");
    };
    if (parse == ProjectParse::Corrupt) {
        if (file.formatNumber <= 0 && bytes.size() > static_cast<size_t>(kFormatNumberOffset))
            return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH));
        if (file.needed == 0)
            return damaged("its block count of " + std::to_string(file.blockCount) + " is more than the " +
                           std::to_string(kMaxBlocks) + " blocks a project holds.");
        return damaged(CutShortText(bytes.size(), file.needed));
    }
    // A project without feature sections ends with its rows and texts: more bytes mean a
    // block count smaller than the rows the file holds.
    if (file.extendedSetup != 1 && bytes.size() > file.sectionsOffset) return trailing(bytes.size() - file.sectionsOffset);

    // The project's product: by its product number, or asked for when the file names none.
    std::string product = g_szProductName;
    unsigned deviceId = g_nDeviceId;
    FindProductByNumber(file.productNo, product, deviceId);
    if (file.productStar1 != '*' || file.productStar2 != '*') {
        if (!hooks.askProduct || !hooks.askProduct(product)) {
            finish();
            return ProjectOpenResult::NotOpened;
        }
    }

    const int pv = deffiles::ReadDataProjectVersion(product);
    if (pv == 2) return ProjectOpenResult::OlderEditor;
    const int f = file.formatNumber;
    // Only a format number that no version writes is refused; a later one has this layout.
    if (f <= 0) return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH));
    bool converted = false;
    if (pv > f)
        converted = ui::MessageBox(LoadString(IDS_CONVERT_ON_OPEN), "Quorvex", ui::MB_YESNO | ui::MB_ICONQUESTION) ==
                    ui::IDYES;

    // The PLC definition files the project names, their models and names.
    PlcIdentity plc;
    // A PLC file without the model section the project names gives no register table.
    auto hasModel = [](const std::string& section, const std::string& file) {
        return platform::GetPrivateProfileString(section, "RegisterCount", "\x01", 16, file) != "\x01";
    };
    if (!ReadPlcIdentity(product, file.settings, false, 256, plc) || !hasModel(plc.section1, plc.file1) ||
        !hasModel(plc.section2, plc.file2))
        return refuse(LoadString(IDS_PLC_FILE_ERROR));
    const FeatureSet features = file.extendedSetup == 1 ? ReadFeatureSet(plc.file1, plc.file2) : FeatureSet();
    SectionsEnd end;
    const bool sectionsFit = CheckFeatureSections(bytes, file.sectionsOffset, features, &end);
    if (!end.overCounted.empty())
        return damaged("its " + end.overCounted + " promise " + std::to_string(end.rowsPromised) +
                       " rows, but the file holds " + std::to_string(end.rowsHeld) + " before the next section.");
    if (!sectionsFit)
        return damaged("it ends inside its " + end.broken + ", or a count of that section is more than the file holds.");
    // Bytes after the last section belong to none: a count of the file does not match
    // the rows it holds, and what was read from them would be wrong.
    if (end.trailing > 0) return trailing(end.trailing);
    // A file that ends before some of its feature sections lost them (a save that did not
    // finish, in earlier versions): it opens with their defaults, said so.
    if (!end.missing.empty()) {
        std::string names;
        for (const std::string& name : end.missing) names += (names.empty() ? "" : ", ") + name;
        ui::MessageBox("The project file \"" + path + "\" ends before its feature sections (" + names +
                           "): they are missing and open with their defaults. Check them before the project is "
                           "saved again.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    }

    // The file is sound: from here on it becomes the open project, in place of all else.
    ResetOpenProject();
    g_bPrjFileLoaded = 1;
    g_strPrjFileLastIo = g_strPrjFile = path;
    g_szIdbFile1 = ProjectIdbPath(path, 1);
    g_szIdbFile2 = ProjectIdbPath(path, 2);
    size_t slash = path.find_last_of("\\/");
    g_szPrjFileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    g_bCom2IsCAN = deviceId == 83 ? 1 : 0;
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    // A product without a format number of its own keeps the file's for the next save.
    s.g_nProjFileVersion = IsReadableFormat(pv) ? pv : f;
    if (pv > f) {
        if (converted) {
            s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
            s.g_strProjTitle = s.g_strProjAuthor = s.g_strProjDescription = std::string(8, ' ');
        } else {
            s.g_nProjFileVersion = f;
        }
    }
    ApplyPlcIdentity(plc);

    g_bUntitled = 0;  // an opened project has its rows: no default row
    LoadNewerPlcPairState();

    LoadPlcRegisters(plc, true);

    const unsigned char* b = file.settings;
    s.g_anPortSettings[0][kPortBaud] = CodeToBaud(b[4], 0);
    s.g_anPortSettings[0][kPortDataBits] = CodeToDataBits(b[5]);
    s.g_anPortSettings[0][kPortStopBits] = b[6];
    s.g_anPortSettings[0][kPortParity] = b[7];
    s.g_anPortSettings[1][kPortBaud] = CodeToBaud(b[8], 1);
    s.g_anPortSettings[1][kPortDataBits] = CodeToDataBits(b[9]);
    s.g_anPortSettings[1][kPortStopBits] = b[10];
    s.g_anPortSettings[1][kPortParity] = b[11];
    ApplyControlRecord(b);
    ApplyAddressTexts(file.ctrlWordAddr, file.errBitAddr1, file.errBitAddr2, file.advSetting2);
    s.g_strCtrlWordShown = file.ctrlWordAddr;
    DistinguishPlcNames();
    s.g_nCtrlWordStation = file.ctrlWordStation;
    s.g_nCtrlWordWords = file.ctrlWordWords;
    s.g_nErrBit1 = file.errBit1;
    s.g_nErrBit2 = file.errBit2;
    g_bExtendedSetup = file.extendedSetup;

    BlockRows rows = file.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i][kColBlockNo] = std::to_string(i + 1) + std::string(14, ' ');
        if (file.productVersion < 0) rows[i][kColControlBit] = std::to_string(i);  // an older file's rows
    }
    unreadable = DropUnreadableAddresses(rows);
    g_BlockListRows = std::move(rows);

    if (file.hasTexts) ApplyProjectTexts(file.texts);
    g_bNewProject = 0;

    if (g_bExtendedSetup == 1) {
        FieldReader r(bytes, file.sectionsOffset);
        if (g_bEthernetSetting == 1) ReadNodeTableSection(r);
        if (g_bTagTable == 1) ReadTagTableSection(r);
        ClearRecipeTables();
        ResetDefCommRegisters();
        ResetGeneralEntity();
        if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) {
            g_nRecipeState = 0;
            ReadRecipeSection(r);
        }
        if (g_bAttachRegCom1 == 1) {
            g_bDefCommRegFill = 0;
            ReadAttachRegSection(r, 1);
        } else {
            g_DefCommRegs.g_arrAttachRegWords1.assign(kMaxAttachRegRows, "1");
        }
        if (g_bAttachRegCom2 == 1) {
            g_bDefCommRegFill = 0;
            ReadAttachRegSection(r, 2);
        } else {
            g_DefCommRegs.g_arrAttachRegWords2.assign(kMaxAttachRegRows, "1");
        }
        if (g_bGeneralEntityCom1 == 1 || g_bGeneralEntityCom2 == 1) {
            g_bExtSetupError1 = g_bExtSetupError2 = 0;
            LoadGeneralEntityDefs();
            ReadGeneralEntitySections(r);
        }
    } else {
        g_DefCommRegs.g_arrAttachRegCode1.clear();
        g_DefCommRegs.g_arrAttachRegCode2.clear();
        g_DefCommRegs.g_arrAttachRegWords1.assign(kMaxAttachRegRows, "1");
        g_DefCommRegs.g_arrAttachRegWords2.assign(kMaxAttachRegRows, "1");
        LoadExtendedSetupKeys();
    }

    s.g_strProjPath = path;
    ReadPcComPort(product);
    g_bProjectSaved = 1;
    g_bUntitled = 0;
    g_bProjectOpen = 1;
    g_bNoBlockView = 0;
    t.SetBlockWordLimit(g_bSlaveMode == 1);
    g_bCom2IsCAN = std::find(g_arrCanDrivers.begin(), g_arrCanDrivers.end(), t.g_strPlc2DriverId) != g_arrCanDrivers.end();
    finish();
    return ProjectOpenResult::Opened;
}

void ReportUnreadableAddresses(const std::vector<int>& blocks) {
    if (blocks.empty()) return;
    std::string list;
    for (int block : blocks) list += (list.empty() ? "" : ", ") + std::to_string(block);
    ui::MessageBox("The project holds addresses that are not valid for their PLC. They were left out of block " + list +
                       "; please enter them again.",
                   "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
