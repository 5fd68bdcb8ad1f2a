#include "projectfiles/ProjectOpenSteps.h"

#include "model/ProjectSettings.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "projectfiles/ProjectFileWriter.h"
#include "ui/Backend.h"

bool ReadProjectFileShown(const std::string& path, std::string& bytes) {
    ui::WaitCursor wait;
    if (!HoldProjectFile(path)) return false;
    std::string error;
    if (ReadProjectFileBytes(path, bytes, error)) return true;
    ui::MessageBox("Unable to open the project file \"" + path + "\": " + error + ".", "Quorvex",
                   ui::MB_OK | ui::MB_ICONHAND);
    return false;
}

void FindProductByNumber(int productNo, std::string& product, unsigned& deviceId) {
    const int count = deffiles::ReadProductCount();
    for (int n = 1; n <= count; ++n) {
        if (platform::Atoi(deffiles::ReadProductValue("ProductNo", n)) != productNo) continue;
        product = deffiles::ReadText(deffiles::ProductsInf(), "ProductList", deffiles::NumberedKey("Product", n), "1", 4096);
        deviceId = static_cast<unsigned>(platform::Atoi(deffiles::ReadProductValue("DeviceID", n)));
        return;
    }
}

bool ReadPlcIdentity(const std::string& product, const unsigned char* settings, bool onePlc, size_t width,
                     PlcIdentity& out) {
    out.id1 = std::to_string(settings[0]);
    out.model1 = std::to_string(settings[1]);
    out.id2 = std::to_string(settings[2]);
    out.model2 = std::to_string(settings[3]);
    out.file1 = deffiles::PlcDefinitionFile(product, out.id1);
    out.file2 = deffiles::PlcDefinitionFile(product, out.id2);
    const char* kMissing = "\x01";
    auto read = [&](const std::string& file, const std::string& key) {
        return platform::GetPrivateProfileString("Plc Info", key, kMissing, width, file);
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

void LoadPlcRegisters(const PlcIdentity& id, bool bothPorts) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.g_nPlc1RegWidth = platform::GetPrivateProfileInt(id.section1, "RegisterWidth", -1, id.file1);
    t.g_nPlc2RegWidth = platform::GetPrivateProfileInt(id.section2, "RegisterWidth", -1, id.file2);
    t.LoadPlcFileCom1();
    if (bothPorts) t.LoadPlcFileCom2();
}

void ApplyControlRecord(const unsigned char* b) {
    CProjectSettings& s = g_ProjectSettings;
    s.g_bCtrlWordEnabled = b[12];
    s.g_nCtrlWordSide = b[13];
    s.g_bErrBit1Enabled = b[14];
    s.g_bErrBit2Enabled = b[15];
    s.g_anAdvSetting1[2] = b[16];
    s.g_anAdvSetting1[0] = b[17];
    s.g_anAdvSetting1[1] = b[18];
}

void ApplyAddressTexts(const std::string& ctrlWordAddr, const std::string& errBitAddr1,
                       const std::string& errBitAddr2, const int (&advSetting2)[3]) {
    CProjectSettings& s = g_ProjectSettings;
    s.g_strCtrlWordAddr = ctrlWordAddr;
    s.g_strErrBitAddr1 = errBitAddr1;
    s.g_strErrBitAddr2 = errBitAddr2;
    s.g_anAdvSetting2[2] = advSetting2[0];
    s.g_anAdvSetting2[0] = advSetting2[1];
    s.g_anAdvSetting2[1] = advSetting2[2];
}

void DistinguishPlcNames() {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    if (t.g_strPLC1Name != t.g_strPLC2Name) return;
    t.g_strPLC1Name = "Com1 " + t.g_strPLC1Name;
    t.g_strPLC2Name = "Com2 " + t.g_strPLC2Name;
}

void ApplyProjectTexts(const std::string (&texts)[5]) {
    CProjectSettings& s = g_ProjectSettings;
    s.g_strProjAuthor = texts[0];
    s.g_strProjTitle = texts[1];
    s.g_strProjCreated = texts[2];
    s.g_strProjModified = texts[3];
    s.g_strProjDescription = texts[4];
}

void ReadPcComPort(const std::string& product) {
    const int port = deffiles::ReadDataComPort(product);
    if (port >= 1 && port <= 31) g_PlcRegisterTables.g_strPcComPort = "COM" + std::to_string(port);
}

void ShowDamagedProject(const std::string& path, const std::string& what) {
    ui::MessageBox("The project file \"" + path + "\" is damaged: " + what + " It is not opened.", "Quorvex",
                   ui::MB_OK | ui::MB_ICONHAND);
}

std::string CutShortText(size_t size, size_t needed) {
    return "it ends after " + std::to_string(size) + " of the " + std::to_string(needed) +
           " bytes its header, block count and texts need (the file is cut short).";
}
