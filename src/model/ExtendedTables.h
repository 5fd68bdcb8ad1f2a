#pragma once
// Holders of the extended data tables (Ethernet nodes, EtherNet/IP tags, recipes, default
// communication registers, general entity) and the feature flags read from the PLC
// definition files. Their dialogs edit them; the project files, the compiler and the link
// read and write them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using StringArray = std::vector<std::string>;

// One count byte in the project file and in the unit image: every table up to it is saved,
// reopened, downloaded and uploaded whole.
constexpr size_t kMaxEthNodes = 255;

struct CEthNodeTable {
    int g_nEthNodeEntityCode = 0;
    StringArray g_arrNodeIp;       // "0.0.0.0" by default
    StringArray g_arrNodePort;     // "502" by default
    StringArray g_arrNodeAddress;  // 1 to 255
};

struct CEipTagTable {
    uint16_t g_awTagSize[256] = {};  // 255 used
    int g_nTagTableEntityCode = 0;
    uint8_t g_abTagType[255] = {};
    StringArray g_arrTagName;
    StringArray g_arrTagCode;  // its size is the tag count
};

constexpr int kMaxRecipeRows = 150;

struct CRecipeTables {
    uint8_t g_abRecipePort[kMaxRecipeRows] = {};  // 1 COM1, 2 COM2
    uint8_t g_abRecipeCol1[kMaxRecipeRows] = {};
    uint8_t g_abRecipeCol2[kMaxRecipeRows] = {};
    uint8_t g_nRecipeCode = 0;
    uint8_t g_abRecipeIsCoil[kMaxRecipeRows] = {};
    uint16_t g_awRecipeValue[kMaxRecipeRows] = {};
    StringArray g_arrRecipeRegCode;    // register key of each row's address
    StringArray g_arrRecipeAddr;       // its size is the row count
    StringArray g_arrRecipeValueText;
    StringArray g_arrRecipeColumns;    // column titles from the PLC definition file
};

struct CDefCommRegTables {
    StringArray g_arrAttachRegStation1, g_arrAttachRegStation2;
    StringArray g_arrAttachRegAddr1, g_arrAttachRegAddr2;    // their size is the row count
    StringArray g_arrAttachRegWords1, g_arrAttachRegWords2;  // "1" by default
    StringArray g_arrAttachRegCode1, g_arrAttachRegCode2;
    uint8_t g_nAttachRegCode1 = 0, g_nAttachRegCode2 = 0;
    uint8_t g_abAttachRegData1[150] = {};
    uint8_t g_abAttachRegData2[150] = {};
};

constexpr int kGeneralEntityFields = 9;

struct CGeneralEntityTables {
    int g_nGeneralEntityCode1 = 0;
    int g_nExtSetupLen1 = 0;
    int g_nGeneralEntityCount1 = 0;
    int g_nGeneralEntityCode2 = 0;
    int g_nGeneralEntityCount2 = 0;
    int g_nExtSetupLen2 = 0;
    // One table per field of the item records: label, size, control type, two values,
    // highest, lowest, mode, scale factor.
    StringArray g_arrGeneralEntityCom1[kGeneralEntityFields];
    StringArray g_arrGeneralEntityCom2[kGeneralEntityFields];
    uint8_t g_abExtSetup1[200] = {};
    uint8_t g_abExtSetup2[200] = {};
};

// Two texts and two sets of ten string arrays, filled by the unit link.
class CNameListSet {
public:
    virtual ~CNameListSet() = default;
    std::string m_strName1;
    std::string m_strName2;
    StringArray m_arrList1[10];
    StringArray m_arrList2[10];
};

extern CEthNodeTable g_EthNodeTable;
extern CEipTagTable g_EipTagTable;
extern CRecipeTables g_RecipeTables;
extern CDefCommRegTables g_DefCommRegs;
extern CGeneralEntityTables g_GeneralEntity;
extern CNameListSet g_NameListSet;

// Feature flags and states of the extended tables.
extern int g_bExtendedSetup;
extern int g_nFeatureCount;
extern int g_bEthernetSetting;
extern int g_bTagTable;
extern int g_bRecipesCom1, g_bRecipesCom2;
extern int g_bAttachRegCom1, g_bAttachRegCom2;
extern int g_bGeneralEntityCom1, g_bGeneralEntityCom2;
extern int g_bUsesPlc141;
extern int g_bDefCommRegFill;
extern int g_bExtSetupError1, g_bExtSetupError2;
extern int g_nRecipeState;
extern uint32_t g_bRecipeDlgOpen;
extern int g_bIdb1Edited, g_bIdb2Edited, g_bIdbModified;
