#pragma once
// The whole open project as one text, so that "a failed command changed nothing" is one
// comparison: the blocks of either editor, both internal-database panes, recipes, default registers and
// general settings of both ports, node and tag tables, the five texts, the settings of the
// ports, control word and error bits, the PLC pair, the path, the main window's title and
// the modified mark.
#include <sstream>
#include <string>

#include "model/BlockRows.h"
#include "model/BlockTableData.h"
#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"

namespace testsupport {

inline std::string ProjectFingerprint(const std::string& windowTitle) {
    std::ostringstream o;
    auto list = [&](const char* name, const StringArray& a) {
        o << name << ':';
        for (const auto& s : a) o << s << '|';
        o << '\n';
    };
    auto bytes = [&](const char* name, const void* data, size_t n) {
        o << name << ':' << std::string(static_cast<const char*>(data), n) << '\n';
    };
    o << "blocks:";
    for (const auto& row : g_BlockListRows)
        for (const auto& cell : row) o << cell << '|';
    o << "\nolder blocks:";
    for (const auto& row : g_OlderBlockListRows)
        for (const auto& cell : row) o << cell << '|';
    o << '\n';
    for (const auto& pane : g_IdbPaneRows) {
        o << "idb:";
        for (const auto& row : pane)
            for (const auto& cell : row) o << cell << '|';
        o << '\n';
    }
    const CRecipeTables& r = g_RecipeTables;
    list("recipes", r.g_arrRecipeAddr);
    list("recipe codes", r.g_arrRecipeRegCode);
    bytes("recipe ports", r.g_abRecipePort, sizeof r.g_abRecipePort);
    bytes("recipe values", r.g_awRecipeValue, sizeof r.g_awRecipeValue);
    const CDefCommRegTables& d = g_DefCommRegs;
    list("registers 1", d.g_arrAttachRegAddr1);
    list("stations 1", d.g_arrAttachRegStation1);
    list("words 1", d.g_arrAttachRegWords1);
    list("registers 2", d.g_arrAttachRegAddr2);
    list("stations 2", d.g_arrAttachRegStation2);
    list("words 2", d.g_arrAttachRegWords2);
    const CGeneralEntityTables& g = g_GeneralEntity;
    o << "general:" << g.g_nExtSetupLen1 << ',' << g.g_nExtSetupLen2 << '\n';
    bytes("general 1", g.g_abExtSetup1, sizeof g.g_abExtSetup1);
    bytes("general 2", g.g_abExtSetup2, sizeof g.g_abExtSetup2);
    list("nodes", g_EthNodeTable.g_arrNodeAddress);
    list("node ips", g_EthNodeTable.g_arrNodeIp);
    list("tags", g_EipTagTable.g_arrTagCode);
    list("tag names", g_EipTagTable.g_arrTagName);
    const CProjectSettings& s = g_ProjectSettings;
    o << "texts:" << s.g_strProjAuthor << '|' << s.g_strProjTitle << '|' << s.g_strProjCreated << '|'
      << s.g_strProjModified << '|' << s.g_strProjDescription << '\n';
    // The settings: control word, error bits, ports, time-outs, advance settings, and the
    // PLC pair they belong to.
    o << "settings:" << s.g_strCtrlWordAddr << '|' << s.g_nCtrlWordSide << s.g_bCtrlWordEnabled << '|'
      << s.g_nCtrlWordStation << ',' << s.g_nCtrlWordWords << '|' << s.g_strErrBitAddr1 << '|' << s.g_strErrBitAddr2
      << '|' << s.g_bErrBit1Enabled << s.g_bErrBit2Enabled << ',' << s.g_nErrBit1 << ',' << s.g_nErrBit2 << '|';
    for (const auto& port : s.g_anPortSettings)
        for (int v : port) o << v << ',';
    for (int v : s.g_anPortTimeout) o << v << ',';
    for (int v : s.g_anAdvSetting1) o << v << ',';
    for (int v : s.g_anAdvSetting2) o << v << ',';
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    o << "\nplcs:" << t.g_strPLC1Id << ',' << t.g_strPlc1ModelNo << ',' << t.g_strPLC1Name << '|' << t.g_strPLC2Id << ','
      << t.g_strPlc2ModelNo << ',' << t.g_strPLC2Name << '|' << t.RegisterCount(1) << ',' << t.RegisterCount(2) << '\n';
    o << "path:" << s.g_strProjPath << "\ntitle:" << windowTitle << "\nmodified:" << g_bProjectModified << '\n';
    return o.str();
}

}  // namespace testsupport
