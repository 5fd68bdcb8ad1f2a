#include "app/OlderProjectOpen.h"

#include <algorithm>
#include <memory>

#include "app/MainFrame.h"
#include "app/QuorvexView.h"
#include "app/VersionMismatchDlg.h"
#include "editor/BlockExView.h"
#include "model/ProjectFileFormat.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "projectfiles/OlderProjectFile.h"
#include "projectfiles/ProjectFileWriter.h"
#include "res/StringTable.h"
#include "ui/Backend.h"

using namespace prjfile;
using platform::Atoi;

namespace {

const char kZavaMessage[] =
    "You are trying to open a project that is created for Zava Dorazuduvoz.\nIf you want to open this project, please "
    "go back to product selection screen and select Zava Dorazuduvoz product.";

int ShowBox(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "Quorvex", flags); }
// The PLC identity a file names: definition files, model sections and names. false when a
// key is missing (the message is the caller's).
struct PlcIdentity {
    std::string id1, model1, id2, model2, file1, file2, section1, section2, name1, name2;
};

bool ReadPlcIdentity(const std::string& product, const unsigned char* settings, bool onePlc, PlcIdentity& out) {
    out.id1 = std::to_string(settings[0]);
    out.model1 = std::to_string(settings[1]);
    out.id2 = std::to_string(settings[2]);
    out.model2 = std::to_string(settings[3]);
    out.file1 = deffiles::PlcDefinitionFile(product, out.id1);
    out.file2 = deffiles::PlcDefinitionFile(product, out.id2);
    const char* kMissing = "\x01";
    auto read = [&](const std::string& file, const std::string& key) {
        return platform::GetPrivateProfileString("Plc Info", key, kMissing, 80, file);
    };
    out.section1 = read(out.file1, "Plc" + out.model1);
    out.name1 = read(out.file1, "Plc Name");
    out.section2 = onePlc ? out.section1 : read(out.file2, "Plc" + out.model2);
    out.name2 = onePlc ? out.name1 : read(out.file2, "Plc Name");
    for (const std::string* s : {&out.section1, &out.name1, &out.section2, &out.name2})
        if (*s == kMissing) return false;
    return true;
}

void ApplyPlcIdentity(const PlcIdentity& id) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_strPLC1Id = t.g_strPlc1DriverId = id.id1;
    t.g_strPlc1ModelNo = id.model1;
    t.g_strPLC2Id = t.g_strPlc2DriverId = id.id2;
    t.g_strPlc2ModelNo = id.model2;
    t.g_strPlc1Inf = id.file1;
    t.g_strPlc2Inf = id.file2;
    t.g_strPlc1Section = id.section1;
    t.g_strPlc2Section = id.section2;
    t.g_strPLC1Name = id.name1;
    t.g_strPLC2Name = id.name2;
}

void StorePort(int port, const unsigned char* b, int baudPort) {
    int* ps = g_ProjectSettings.g_anPortSettings[port];
    ps[kPortBaud] = OlderCodeToBaud(b[0], baudPort);
    ps[kPortDataBits] = CodeToDataBits(b[1]);
    ps[kPortStopBits] = b[2];
    ps[kPortParity] = b[3];
}

void ReadPcComPort(const std::string& product) {
    const int port = deffiles::ReadDataComPort(product);
    if (port >= 1 && port <= 31) g_PlcRegisterTables.g_strPcComPort = "COM" + std::to_string(port);
}

// The file's product by its product number: its name and DeviceID (unchanged when no
// entry has that number).
void FindProductByNumber(int productNo, std::string& product, unsigned& deviceId) {
    const int count = deffiles::ReadProductCount();
    for (int n = 1; n <= count; ++n) {
        if (Atoi(deffiles::ReadProductValue("ProductNo", n)) != productNo) continue;
        product = deffiles::ReadText(deffiles::ProductsInf(), "ProductList", deffiles::NumberedKey("Product", n), "1", 4096);
        deviceId = static_cast<unsigned>(Atoi(deffiles::ReadProductValue("DeviceID", n)));
        return;
    }
}
}  // namespace

// ---------------------------------------------------------------------------------------
// Reading

void OpenOlderProjectFile(CMainFrame& frame, const std::string& path) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    auto finish = [] {
        g_bBlockListEdited = 0;
        g_bProductSelected = g_bProductSelected2 = 1;
    };
    frame.m_bNewProduct = 0;
    if (g_szProductName == "Zava Dorazuduvoz") g_nDeviceId = g_nDeviceIdAlt = 84;
    if (g_nDeviceId == 84) {
        CheckZavaProjectProduct(frame, path);
        return;
    }

    std::string bytes;
    {
        ui::WaitCursor wait;
        std::string error;
        if (!ReadProjectFileBytes(path, bytes, error)) {
            ShowBox("Unable to open the project file \"" + path + "\": " + error + ".", ui::MB_OK | ui::MB_ICONHAND);
            finish();
            return;
        }
    }
    OlderProjectFile file;
    ParseOlderProjectHead(bytes, file);
    if (file.productNo == 84) {
        ShowBox(kZavaMessage, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return;
    }
    std::string product = g_szProductName;
    unsigned deviceId = g_nDeviceId;
    FindProductByNumber(file.productNo, product, deviceId);
    if (file.productStar1 != '*' || file.productStar2 != '*') {
        CVersionMismatchDlg dialog(&frame);
        // Without a product chosen the file cannot be placed: nothing is opened.
        if (dialog.DoModal() != ui::IDOK || g_szVersionProduct.empty()) {
            finish();
            return;
        }
        product = g_szVersionProduct;
    }
    if (file.tag != std::string(kFileTag, kTagWidth)) {
        ShowBox(LoadString(IDS_NOT_FOR_QUORVEX));
        finish();
        return;
    }
    const int pv = deffiles::ReadDataProjectVersion(product);
    if (pv >= 4) {
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        frame.LoadProjectFile(path);
        return;
    }
    if (file.versionDigit <= 0 || file.versionDigit > pv) {
        ShowBox(LoadString(IDS_PROJECT_VERSION_MISMATCH));
        finish();
        return;
    }
    PlcIdentity plc;
    if (!ReadPlcIdentity(product, file.settings, false, plc)) {
        ShowBox(LoadString(IDS_PLC_FILE_ERROR));
        finish();
        return;
    }
    // The row width follows the slave mode of the file's PLC pair, as the block list will.
    auto slaveKey = [](const std::string& f) { return deffiles::ReadInt(f, "Plc Info", "Slave", -1); };
    int slave = slaveKey(plc.file2);
    if (slave == -1) slave = slaveKey(plc.file1);
    const bool slaveMode = slave == 1;
    if (ParseOlderProjectRows(bytes, slaveMode, file.versionDigit == 2, file) != OlderParse::Ok) {
        ShowBox(LoadString(IDS_PROJECT_VERSION_MISMATCH));
        finish();
        return;
    }

    // The file is sound: from here on it becomes the open project.
    t.ResetProject();
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    s.g_nProjFileVersion = pv;
    ApplyPlcIdentity(plc);

    ui::Splitter& sp = frame.GetSplitter();
    g_bBlockExUntitled = 0;  // an opened project has its rows: no default row
    auto* view = static_cast<CBlockExView*>(sp.CreateView(0, 1, std::make_unique<CBlockExView>()));
    frame.SetActiveView(view);
    view->OnInitialUpdate();
    sp.CreateView(0, 0, std::make_unique<CQuorvexView>());
    sp.SetColumnInfo(0, 0, 0);
    const int width = frame.GetClientRect().Width() > 0 ? frame.GetClientRect().Width() : 1024;
    sp.SetColumnInfo(1, std::max(width / 6, 10), 10);
    sp.RecalcLayout();

    t.g_nPlc1RegWidth = platform::GetPrivateProfileInt(plc.section1, "RegisterWidth", -1, plc.file1);
    t.g_nPlc2RegWidth = platform::GetPrivateProfileInt(plc.section2, "RegisterWidth", -1, plc.file2);
    t.LoadPlcFileCom1();
    t.LoadPlcFileCom2();

    const unsigned char* b = file.settings;
    StorePort(0, b + 4, 0);
    StorePort(1, b + 8, 1);
    s.g_bCtrlWordEnabled = b[12];
    s.g_nCtrlWordSide = b[13];
    s.g_bErrBit1Enabled = b[14];
    s.g_bErrBit2Enabled = b[15];
    s.g_anAdvSetting1[2] = b[16];
    s.g_anAdvSetting1[0] = b[17];
    s.g_anAdvSetting1[1] = b[18];
    s.g_strCtrlWordAddr = file.ctrlWordAddr;
    s.g_strErrBitAddr1 = file.errBitAddr1;
    s.g_strErrBitAddr2 = file.errBitAddr2;
    s.g_anAdvSetting2[2] = file.advSetting2[0];
    s.g_anAdvSetting2[0] = file.advSetting2[1];
    s.g_anAdvSetting2[1] = file.advSetting2[2];
    if (t.g_strPLC1Name == t.g_strPLC2Name) {
        t.g_strPLC1Name = "Com1 " + t.g_strPLC1Name;
        t.g_strPLC2Name = "Com2 " + t.g_strPLC2Name;
    }
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    view->SetBlockRows(file.rows);
    if (file.hasTexts) {
        s.g_strProjAuthor = file.texts[0];
        s.g_strProjTitle = file.texts[1];
        s.g_strProjCreated = file.texts[2];
        s.g_strProjModified = file.texts[3];
        s.g_strProjDescription = file.texts[4];
    }
    s.g_strProjPath = path;
    g_strPrjFileLastIo = path;
    ReadPcComPort(product);
    g_bBlockExSaved = 1;
    g_bBlockExUntitled = 0;
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    if (g_bBlockExSlaveMode == 1) t.g_nBlockWordLimit = 255;

    frame.SetFrameMenu(frame.ProjectMenu());
    if (frame.LevelToolBar()) frame.LevelToolBar()->ShowWindow(false);
    if (frame.ProjectToolBar()) frame.ProjectToolBar()->ShowWindow(true);
    frame.SetWindowText(ProjectFileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    frame.RecalcLayout();
    finish();
}

// ---------------------------------------------------------------------------------------
// The three-port product

namespace {

std::string ProductMessage(int productNo) {
    const char* names[] = {nullptr,
                           "QVX-00",
                           "QVX-S7",
                           "QVX-S8",
                           "QVX-100 (LonWorks Quorvex)",
                           "FC2A-QVX (RURI Quorvex)",
                           "USB to DH485 Quorvex",
                           "QVX-01 to QVX-16",
                           "DF1 to DH485 Converter (Using QVX-00)",
                           "QVX-300(CAN Quorvex)"};
    if (productNo >= 1 && productNo <= 9) {
        const std::string name = names[productNo];
        return "You are trying to open a project that is created for " + name +
               ".\nIf you want to open this project, please go back to product selection screen and select " + name +
               " product.";
    }
    return kZavaMessage;
}

}  // namespace

void CheckZavaProjectProduct(CMainFrame& frame, const std::string& path) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    // Whatever happened to the file, the sheet then shows the model and closes the project.
    auto runSheet = [&frame] {
        g_bBlockListEdited = 0;
        g_bProductSelected = g_bProductSelected2 = 1;
        g_szHelpTopic = "portmultiplexer.htm";
        if (frame.Services().communicationSettingSheet) frame.Services().communicationSettingSheet();
        frame.UpdateRecentProjects();
        frame.LoadComPortSetting();
        g_bBlockExSaved = g_bBlockExUntitled = g_bBlockListEdited = 0;
        g_bProjectSaved = g_bUntitled = g_bProjectModified = 0;
        g_PlcRegisterTables.ResetProject();
        g_bProjectOpen = 0;
        g_bNoBlockView = 1;
    };

    std::string bytes;
    {
        ui::WaitCursor wait;
        std::string error;
        if (!ReadProjectFileBytes(path, bytes, error)) {
            ShowBox("Unable to open the project file \"" + path + "\": " + error + ".", ui::MB_OK | ui::MB_ICONHAND);
            runSheet();
            return;
        }
    }
    OlderProjectFile file;
    ParseOlderProjectHead(bytes, file);
    if (file.productNo != 84) {
        ShowBox(ProductMessage(file.productNo), ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return;
    }
    std::string product = g_szProductName;
    unsigned deviceId = g_nDeviceId;
    FindProductByNumber(file.productNo, product, deviceId);
    if (file.productStar1 != '*' || file.productStar2 != '*') {
        CVersionMismatchDlg dialog(&frame);
        if (dialog.DoModal() != ui::IDOK || g_szVersionProduct.empty()) return;
        product = g_szVersionProduct;
    }
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    if (file.tag != std::string(kFileTag, kTagWidth)) {
        ShowBox(LoadString(IDS_NOT_FOR_QUORVEX));
        runSheet();
        return;
    }
    const int pv = deffiles::ReadDataProjectVersion(product);
    const int v = file.versionDigit;
    if (v <= 0 || v > pv) {
        ShowBox(LoadString(IDS_PROJECT_VERSION_MISMATCH));
        runSheet();
        return;
    }
    PlcIdentity plc;
    if (!ReadPlcIdentity(product, file.settings, false, plc)) {
        ShowBox(LoadString(IDS_PLC_FILE_ERROR));
        return;
    }
    // The rows' width does not matter: the product keeps none.
    if (ParseOlderProjectRows(bytes, false, v == 2, file) != OlderParse::Ok) {
        ShowBox(LoadString(IDS_PROJECT_VERSION_MISMATCH));
        runSheet();
        return;
    }
    int fileVersion = pv;
    bool converted = false;
    if (pv > v)
        converted = ShowBox(LoadString(IDS_CONVERT_ON_OPEN), ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES;
    if (!converted) fileVersion = v;

    t.ResetProject();
    s.g_nProjFileVersion = fileVersion;
    ApplyPlcIdentity(plc);
    t.g_nPlc1RegWidth = platform::GetPrivateProfileInt(plc.section1, "RegisterWidth", -1, plc.file1);
    t.g_nPlc2RegWidth = platform::GetPrivateProfileInt(plc.section2, "RegisterWidth", -1, plc.file2);
    t.LoadPlcFileCom1();
    const unsigned char* b = file.settings;
    StorePort(0, b + 4, 0);
    StorePort(1, b + 8, 1);
    StorePort(2, b + 12, 2);
    for (int p = 0; p < 3; ++p) s.g_anPortTimeout[p] = b[16 + p];
    s.g_strCtrlWordAddr = file.ctrlWordAddr;
    s.g_strErrBitAddr1 = file.errBitAddr1;
    s.g_strErrBitAddr2 = file.errBitAddr2;
    s.g_anAdvSetting2[2] = file.advSetting2[0];
    s.g_anAdvSetting2[0] = file.advSetting2[1];
    s.g_anAdvSetting2[1] = file.advSetting2[2];
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    if (file.hasTexts) {
        s.g_strProjAuthor = file.texts[0];
        s.g_strProjTitle = file.texts[1];
        s.g_strProjCreated = file.texts[2];
        s.g_strProjModified = file.texts[3];
        s.g_strProjDescription = file.texts[4];
    }
    if (pv > v && converted) {
        s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
        s.g_strProjTitle = s.g_strProjAuthor = s.g_strProjDescription = std::string(8, ' ');
    }
    s.g_strProjPath = path;
    g_strPrjFileLastIo = path;
    ReadPcComPort(product);
    g_bBlockExSaved = g_bProjectSaved = 1;
    g_bBlockExUntitled = g_bUntitled = 0;
    t.g_nBlockWordLimit = std::min(t.g_nPlc1NoOfWord, t.g_nPlc2NoOfWord);
    if (g_bBlockExSlaveMode == 1 || g_bSlaveMode == 1) t.g_nBlockWordLimit = g_bCom2Driver135 == 1 ? 65535 : 255;
    frame.SetWindowText(ProjectFileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    runSheet();
}
