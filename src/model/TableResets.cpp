#include "model/TableResets.h"

#include "model/ExtendedTables.h"

#include <cstring>

void ResetDefCommRegisters() {
    CDefCommRegTables& d = g_DefCommRegs;
    d.g_arrAttachRegStation1.clear();
    d.g_arrAttachRegStation2.clear();
    d.g_arrAttachRegAddr1.clear();
    d.g_arrAttachRegAddr2.clear();
    d.g_arrAttachRegCode1.clear();
    d.g_arrAttachRegCode2.clear();
    d.g_nAttachRegCode1 = 0;
    d.g_nAttachRegCode2 = 0;
    std::memset(d.g_abAttachRegData1, 0, sizeof d.g_abAttachRegData1);
    std::memset(d.g_abAttachRegData2, 0, sizeof d.g_abAttachRegData2);
}

void ResetGeneralEntity() {
    CGeneralEntityTables& g = g_GeneralEntity;
    std::memset(g.g_abExtSetup1, 0, sizeof g.g_abExtSetup1);
    std::memset(g.g_abExtSetup2, 0, sizeof g.g_abExtSetup2);
    g.g_nGeneralEntityCode1 = g.g_nGeneralEntityCode2 = 0;
    g.g_nGeneralEntityCount1 = g.g_nGeneralEntityCount2 = 0;
    g.g_nExtSetupLen1 = g.g_nExtSetupLen2 = 0;
    for (int f = 0; f < kGeneralEntityFields; ++f) {
        g.g_arrGeneralEntityCom1[f].clear();
        g.g_arrGeneralEntityCom2[f].clear();
    }
}

void ClearRecipeTables() {
    CRecipeTables& r = g_RecipeTables;
    r.g_arrRecipeAddr.clear();
    r.g_arrRecipeRegCode.clear();
    r.g_arrRecipeValueText.clear();
    std::memset(r.g_abRecipePort, 0, sizeof r.g_abRecipePort);
    std::memset(r.g_abRecipeCol1, 0, sizeof r.g_abRecipeCol1);
    std::memset(r.g_awRecipeValue, 0, sizeof r.g_awRecipeValue);
    std::memset(r.g_abRecipeCol2, 0, sizeof r.g_abRecipeCol2);
    std::memset(r.g_abRecipeIsCoil, 0, sizeof r.g_abRecipeIsCoil);
}
