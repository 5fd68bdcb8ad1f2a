#include "plc/FeatureKeys.h"

#include "model/ExtendedTables.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "model/TableResets.h"

namespace {

int ReadInt(const std::string& file, const std::string& section, const std::string& key) {
    return platform::GetPrivateProfileInt(section, key, -1, file);
}

// Reads the items of one port's general entity into its nine tables and adds their sizes.
void LoadItems(const std::string& file, const char* section, int count, StringArray* tables,
               int& length, bool keepLeadingBlanksOfLabel) {
    for (int i = 1; i <= count; ++i) {
        std::string item = platform::GetPrivateProfileString(section, "SubEntity" + std::to_string(i),
                                                             "Not Available", 150, file);
        std::vector<std::string> fields = platform::Split(item, ',');
        for (int f = 0; f < kGeneralEntityFields; ++f) {
            std::string value = platform::Field(fields, static_cast<size_t>(f));
            tables[f].push_back(f == 0 && keepLeadingBlanksOfLabel ? value : platform::TrimLeft(value));
        }
        length += platform::Atoi(platform::Field(fields, 1));
    }
}

}  // namespace

void LoadExtendedSetupKeys() {
    const std::string& com1 = g_PlcRegisterTables.g_strPlc1Inf;
    const std::string& com2 = g_PlcRegisterTables.g_strPlc2Inf;
    const char* kSetup = "Extended Setup";

    if (ReadInt(com1, kSetup, "ExtendedSetup") != 1 && ReadInt(com2, kSetup, "ExtendedSetup") != 1) {
        g_bExtendedSetup = 0;
        return;
    }
    g_bExtendedSetup = 1;
    int count = 0;

    // Ethernet node table and tag table: on when either file says so; the code comes
    // from the COM1 file when it switched the feature on, else from the COM2 file.
    auto either = [&](const char* key, const char* section, int& flag, int& code) {
        bool on1 = ReadInt(com1, kSetup, key) == 1;
        bool on2 = ReadInt(com2, kSetup, key) == 1;
        flag = (on1 || on2) ? 1 : 0;
        if (flag) {
            code = ReadInt(on1 ? com1 : com2, section, "EntityCode");
            ++count;
        }
        return flag;
    };
    g_bUsesPlc141 = either("EthernetSetting", "EthernetSetting", g_bEthernetSetting,
                           g_EthNodeTable.g_nEthNodeEntityCode);
    either("TagTable", "TagTable", g_bTagTable, g_EipTagTable.g_nTagTableEntityCode);

    g_bRecipesCom1 = ReadInt(com1, kSetup, "Recipes");
    g_bRecipesCom2 = ReadInt(com2, kSetup, "Recipes");
    if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) {
        g_nRecipeState = 1;
        const std::string& file = g_bRecipesCom1 == 1 ? com1 : com2;
        g_RecipeTables.g_nRecipeCode = static_cast<uint8_t>(ReadInt(file, "Recipes", "EntityCode"));
        ++count;
        const int columns = platform::BoundedCount(ReadInt(file, "Recipes", "TotalColumns"), platform::kMaxListCount,
                                                   file, "TotalColumns");
        g_RecipeTables.g_arrRecipeColumns.clear();
        for (int i = 1; i <= columns; ++i)
            g_RecipeTables.g_arrRecipeColumns.push_back(platform::GetPrivateProfileString(
                "Recipes", "Column" + std::to_string(i), "Not Available", 150, file));
    }

    ResetDefCommRegisters();

    g_bAttachRegCom1 = ReadInt(com1, kSetup, "AttachRegCom1");
    if (g_bAttachRegCom1 == 1) {
        g_bDefCommRegFill = 1;
        g_DefCommRegs.g_nAttachRegCode1 = static_cast<uint8_t>(ReadInt(com1, "AttachRegCom1", "EntityCode"));
        ++count;
    }
    g_bAttachRegCom2 = ReadInt(com2, kSetup, "AttachRegCom2");
    if (g_bAttachRegCom2 == 1) {
        g_bDefCommRegFill = 1;
        g_DefCommRegs.g_nAttachRegCode2 = static_cast<uint8_t>(ReadInt(com2, "AttachRegCom2", "EntityCode"));
        ++count;
    }

    ResetGeneralEntity();

    g_bGeneralEntityCom1 = ReadInt(com1, kSetup, "GeneralEntityCom1");
    g_bGeneralEntityCom2 = ReadInt(com2, kSetup, "GeneralEntityCom2");
    if (g_bGeneralEntityCom1 != 1 && g_bGeneralEntityCom2 != 1) {
        g_nFeatureCount = count;
        return;
    }
    if (g_bGeneralEntityCom1 == 1) {
        g_bExtSetupError1 = 1;
        g_GeneralEntity.g_nGeneralEntityCode1 = ReadInt(com1, "GeneralEntityCom1", "EntityCode");
        ++count;
    }
    if (g_bGeneralEntityCom2 == 1) {
        g_bExtSetupError2 = 1;
        g_GeneralEntity.g_nGeneralEntityCode2 = ReadInt(com2, "GeneralEntityCom2", "EntityCode");
        ++count;
    }
    LoadGeneralEntityDefs();
    g_nFeatureCount = count;
}

void LoadGeneralEntityDefs() {
    const std::string& com1 = g_PlcRegisterTables.g_strPlc1Inf;
    const std::string& com2 = g_PlcRegisterTables.g_strPlc2Inf;
    CGeneralEntityTables& g = g_GeneralEntity;
    // Every item takes at least one byte of the 200-byte setup buffer of its port.
    g.g_nGeneralEntityCount1 = platform::BoundedCount(ReadInt(com1, "GeneralEntityCom1", "SubEntity"), 200, com1, "SubEntity");
    g.g_nGeneralEntityCount2 = platform::BoundedCount(ReadInt(com2, "GeneralEntityCom2", "SubEntity"), 200, com2, "SubEntity");
    LoadItems(com1, "GeneralEntityCom1", g.g_nGeneralEntityCount1, g.g_arrGeneralEntityCom1,
              g.g_nExtSetupLen1, false);
    LoadItems(com2, "GeneralEntityCom2", g.g_nGeneralEntityCount2, g.g_arrGeneralEntityCom2,
              g.g_nExtSetupLen2, true);
}
