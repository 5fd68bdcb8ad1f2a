// What the editors make is what a saved project opens with: addresses built by the register
// address dialog and typed short forms completed by the cell editor, of every register type
// of every PLC pair of the sample tree's newer products, and the feature tables at their
// largest, saved, closed and opened again unchanged and without a word.
#include "model/ExtendedTables.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "editor/RegisterAddressDlg.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/EditorResource.h"
#include "res/FrameResource.h"
#include "HeadlessUi.h"
#include "PlcPairs.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>

namespace {

using testsupport::FindTreeItem;

// The characters an address cell's edit takes.
constexpr size_t kAddressCellLimit = 11;

// One address to make: a register type of a port at its lowest or highest address, with
// no bit (-1) or a bit.
struct AddressCase {
    int port, reg;
    bool highest;
    int bit;
};

class RoundTrip : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bPrjFileLoaded = 0;
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        frame->Services().tagTableDialog = [] { return 1; };
    }
    void TearDown() override {
        frame.reset();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }
    ui::TreeView& Protocols(int port) {
        return *dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, port - 1))->Tree();
    }
    void ToProtocolLevel(const std::string& product, unsigned deviceId) {
        g_bProjectModified = 0;
        frame->CloseToProductLevel();
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        frame->GoToProtocolLevel();
    }
    // The project level of a pair, chosen as the engineer does: a model of a protocol on each
    // port. False when the program refuses the pair (a slave driver on both sides), said so.
    bool Configure(const std::string& product, unsigned deviceId, const std::pair<std::string, std::string> (&pair)[2]) {
        ToProtocolLevel(product, deviceId);
        for (int port = 1; port <= 2; ++port) {
            ui::TreeView& t = Protocols(port);
            const ui::HTREEITEM protocol = FindTreeItem(t, pair[port - 1].first);
            const ui::HTREEITEM model = protocol ? FindTreeItem(t, pair[port - 1].second, protocol) : 0;
            if (!protocol || !t.UserSelect(model ? model : protocol)) {
                ADD_FAILURE() << "no " << pair[port - 1].first;
                return false;
            }
        }
        ui.ClearRecords();
        EXPECT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        if (g_pNewBlockExView) return true;
        EXPECT_EQ(ui.MessageBoxes().size(), 1u);
        return false;
    }
    CNewBlockExView& View() { return *g_pNewBlockExView; }
    ui::Control* CellEdit() { return View().GetDlgItem(IDC_NEW_CELL_EDIT); }
    // A person clicks the address cell and types the text, Enter; the next cell's editor
    // that Enter opens is left with Escape.
    void TypeAddress(int row, int col, const std::string& text) {
        ASSERT_TRUE(View().GetListCtrl().UserClickCell(row, col));
        ASSERT_NE(CellEdit(), nullptr);
        ASSERT_TRUE(CellEdit()->UserType(text));
        ASSERT_TRUE(CellEdit()->UserKey(ui::VK_RETURN));
        if (ui::Control* next = CellEdit()) next->UserKey(ui::VK_ESCAPE);
    }
    // The address cell's Set Address button: the dialog runs `step` and OK.
    void PickAddress(int row, int col, std::function<void(ui::Dialog&)> step) {
        ASSERT_TRUE(View().GetListCtrl().UserClickCell(row, col));
        ui.ExpectModal(IDD_REGISTER_ADDRESS, [step](ui::Dialog& d) {
            step(d);
            d.UserClickButton(ui::IDOK);
        });
        ASSERT_TRUE(View().Item(col == kColSourceAddr ? IDC_SOURCE_ADDR_BUTTON : IDC_DEST_ADDR_BUTTON).UserClick());
        if (ui::Control* edit = CellEdit()) edit->UserKey(ui::VK_ESCAPE);
    }
    // Rows of the two PLCs, one more than the default row, for the addresses to come.
    void AddRows(size_t count) {
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        BlockRows rows(count);
        for (BlockRow& row : rows) {
            row[kColWords] = row[kColSourceId] = row[kColDestId] = row[kColRepeatCycle] = "1";
            row[kColControlBit] = "0";
            row[kColSourcePlc] = t.g_strPLC1Name;
            row[kColDestPlc] = t.g_strPLC2Name;
        }
        View().AppendBlockRows(rows);
    }
    void CloseOpen(const std::string& path) {
        ToProtocolLevel(g_szProductName, g_nDeviceId);
        ui.ClearRecords();
        frame->LoadProjectFile(path);
    }
    void SaveCloseOpen(const std::string& path) {
        ASSERT_TRUE(frame->Services().saveProject(true, path));
        CloseOpen(path);
    }
};

// Bit 15 of a tag of the Ethernet IP protocol, built by the dialog and typed as "I1_15",
// and a bit of a DF1 integer typed with leading zeros, are kept by Save and Open.
TEST_F(RoundTrip, ABitOfAWideAddressOpensAsSaved) {
    ASSERT_TRUE(Configure("QVX-ENET", 94, {{"Modbus RTU Master", ""}, {"Ethernet IP", ""}}));
    AddRows(2);
    PickAddress(1, kColDestAddr, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_ADDRESS_TEXT), "I00000001");
        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
        d.UserClickButton(IDC_BIT_DOWN);
    });
    TypeAddress(2, kColDestAddr, "I1_15");
    ASSERT_EQ(View().GetCellText(1, kColDestAddr), "I00000001_15");
    ASSERT_EQ(View().GetCellText(2, kColDestAddr), "I00000001_15");
    SaveCloseOpen(tree.Path() + "QVX-ENET/Projects/bits.prj");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(View().GetCellText(1, kColDestAddr), "I00000001_15");
    EXPECT_EQ(View().GetCellText(2, kColDestAddr), "I00000001_15");

    ASSERT_TRUE(Configure("QVX-S7", 82, {{"Modbus RTU Master", ""}, {"DF1 Full Duplex", ""}}));
    AddRows(1);
    TypeAddress(1, kColDestAddr, "N7:0_015");
    ASSERT_EQ(View().GetCellText(1, kColDestAddr), "N007:000_015");
    SaveCloseOpen(tree.Path() + "QVX-S7/Projects/bits.prj");
    EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
    EXPECT_EQ(View().GetCellText(1, kColDestAddr), "N007:000_015");
}

// A project saved before a definitions update added a setup item to the general settings
// of COM2 opens without a word, its values as saved; saved again, it opens again.
TEST_F(RoundTrip, AFileSavedBeforeASetupItemWasAddedOpens) {
    ASSERT_TRUE(Configure("QVX-S7", 82, {{"Modbus RTU Master", ""}, {"DF1 Full Duplex", ""}}));
    g_GeneralEntity.g_abExtSetup2[0] = 44;
    const std::string path = tree.Path() + "QVX-S7/Projects/before.prj";
    ASSERT_TRUE(frame->Services().saveProject(true, path));
    const CGeneralEntityTables saved = g_GeneralEntity;
    ASSERT_EQ(saved.g_nExtSetupLen2, 3);
    const std::string com2 = tree.Read("QVX-S7/Plc/10200_004.inf");
    std::string updated = com2;
    const size_t count = updated.find("SubEntity=2", updated.find("[GeneralEntityCom2]"));
    ASSERT_NE(count, std::string::npos);
    updated.replace(count, 11, "SubEntity=3\r\nSubEntity3=Reply Delay (ms),1,1,0,0,250,0,0,0");
    tree.Write("QVX-S7/Plc/10200_004.inf", updated);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        if (pass == 0) CloseOpen(path);
        else SaveCloseOpen(path);
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        EXPECT_EQ(g_GeneralEntity.g_nGeneralEntityCount2, 3);
        EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen2, 3);
        EXPECT_EQ(0, std::memcmp(g_GeneralEntity.g_abExtSetup2, saved.g_abExtSetup2, sizeof saved.g_abExtSetup2));
        EXPECT_EQ(0, std::memcmp(g_GeneralEntity.g_abExtSetup1, saved.g_abExtSetup1, sizeof saved.g_abExtSetup1));
    }
}

// The register types of a port: each at its lowest and highest address, a word register
// also with bits 0 and 15 (none while COM2 has a CAN driver: no address carries a bit then).
std::vector<AddressCase> EveryAddress(int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::vector<AddressCase> cases;
    for (int r = 0; r < t.RegisterCount(port); ++r) {
        const int kind = std::stoi((port == 1 ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind)[size_t(r)]);
        const bool word = (kind == 1 || kind == 3 || kind == 4) && !t.Com2HasCanDriver();
        for (bool highest : {false, true})
            for (int bit : {-1, 0, 15})
                if (bit < 0 || word) cases.push_back({port, r, highest, bit});
    }
    return cases;
}

// The three parts of a register's lowest or highest address, and its prefix.
struct Parts {
    std::string prefix, number, second, third;
};
Parts PartsOf(const AddressCase& c) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const size_t r = size_t(c.reg);
    if (c.port == 1)
        return {t.g_arrPlc1RegPrefix[r], (c.highest ? t.g_arrPlc1RegMax : t.g_arrPlc1RegMin)[r],
                (c.highest ? t.g_arrPlc1RegColonMax : t.g_arrPlc1RegColonMin)[r],
                (c.highest ? t.g_arrPlc1RegSlashMax : t.g_arrPlc1RegSlashMin)[r]};
    return {t.g_arrPlc2RegPrefix[r], (c.highest ? t.g_arrPlc2RegMax : t.g_arrPlc2RegMin)[r],
            (c.highest ? t.g_arrPlc2RegColonMax : t.g_arrPlc2RegColonMin)[r],
            (c.highest ? t.g_arrPlc2RegSlashMax : t.g_arrPlc2RegSlashMin)[r]};
}

// The address as a person types it short: the parts without their leading zeros.
std::string ShortForm(const AddressCase& c) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const Parts p = PartsOf(c), lowest = PartsOf({c.port, c.reg, false, -1});
    auto bare = [](const std::string& part) {
        const size_t k = part.find_first_not_of('0');
        return k == std::string::npos ? std::string("0") : part.substr(k);
    };
    // A marker stands for no part, or for the timer letter.
    auto part = [&](const std::string& text, const std::string& marker) {
        return CPlcRegisterTables::IsMarker(marker) ? marker : bare(text);
    };
    const std::string n = bare(p.number), s = part(p.second, lowest.second), b = part(p.third, lowest.third);
    return p.prefix + (c.port == 1 ? t.FormatAddressCom1(n, s, b, c.reg) : t.FormatAddressCom2(n, s, b, c.reg)) +
           (c.bit < 0 ? std::string() : "_" + std::to_string(c.bit));
}

// Every address either editor makes of every register type of every pair, and the
// feature tables at their largest, are saved, closed and opened again unchanged, with no
// word. One project per pair holds them all.
TEST_F(RoundTrip, EveryAddressAndTheLargestTablesOfEveryPairOpenAsSaved) {
    const std::vector<testsupport::PlcPair> pairs = testsupport::EveryPlcPair(true);
    ASSERT_GT(pairs.size(), 40u);
    size_t refused = 0, made = 0;
    for (const testsupport::PlcPair& pair : pairs) {
        SCOPED_TRACE(pair.product + ": " + pair.ports[0].first + " " + pair.ports[0].second + " / " +
                     pair.ports[1].first + " " + pair.ports[1].second);
        if (!Configure(pair.product, pair.deviceId, pair.ports)) {
            ++refused;
            continue;
        }
        const std::vector<AddressCase> cases[2] = {EveryAddress(1), EveryAddress(2)};
        const size_t n = std::max(cases[0].size(), cases[1].size());
        ASSERT_LE(2 * n + 1, size_t(255));
        AddRows(2 * n);
        std::string longest[2];  // the longest address without a bit, for the tables
        for (size_t i = 0; i < n; ++i) {
            for (const std::vector<AddressCase>& port : cases) {
                if (i >= port.size()) continue;
                const AddressCase c = port[i];
                const int col = c.port == 1 ? kColSourceAddr : kColDestAddr;
                std::string built;
                PickAddress(int(1 + 2 * i), col, [&](ui::Dialog& d) {
                    auto& types = d.Item<ui::ListControl>(IDC_REGISTER_TYPE);
                    ASSERT_TRUE(types.UserSelect(c.reg));
                    if (c.highest) {
                        const Parts p = PartsOf(c);
                        for (const auto& [id, text] : {std::pair{IDC_NUMBER_PART, p.number}, std::pair{IDC_COLON_PART, p.second},
                                                       std::pair{IDC_SLASH_PART, p.third}})
                            if (d.Item(id).IsWindowVisible()) d.Item(id).UserType(text);
                        d.Item(IDC_REGISTER_TYPE).UserFocus();
                    }
                    if (c.bit >= 0 && d.Item(IDC_BIT_ADDRESSED_RADIO).IsWindowVisible()) {
                        d.UserClickButton(IDC_BIT_ADDRESSED_RADIO);
                        if (c.bit == 15)
                            for (int down : {IDC_BIT_DOWN, IDC_BIT2_DOWN, IDC_BIT3_DOWN})
                                if (d.Item(down).IsWindowVisible()) d.UserClickButton(down);
                    }
                    built = d.GetDlgItemText(IDC_ADDRESS_TEXT);
                });
                EXPECT_EQ(View().GetCellText(int(1 + 2 * i), col), built);
                if (c.bit < 0 && built.size() > longest[c.port - 1].size()) longest[c.port - 1] = built;
                ++made;
                // A short form longer than the cell takes is not typed (the dialog makes it).
                const std::string typed = ShortForm(c);
                if (typed.size() > kAddressCellLimit) continue;
                TypeAddress(int(2 + 2 * i), col, typed);
                EXPECT_NE(platform::Trim(View().GetCellText(int(2 + 2 * i), col)), "") << typed << " was not taken";
                ++made;
            }
        }
        // The feature tables the pair offers, at their largest.
        if (g_bEthernetSetting == 1) {
            CEthNodeTable& nodes = g_EthNodeTable;
            nodes.g_arrNodeAddress.assign(kMaxEthNodes, "255");
            nodes.g_arrNodePort.assign(kMaxEthNodes, "65535");
            nodes.g_arrNodeIp.assign(kMaxEthNodes, "255.255.255.255");
        }
        if (g_bTagTable == 1) {
            CEipTagTable& tags = g_EipTagTable;
            tags.g_arrTagCode.assign(255, "TAG999999");
            tags.g_arrTagName.assign(255, std::string(39, 'N'));
            for (size_t i = 0; i < 255; ++i) {
                tags.g_awTagSize[i] = 255;
                tags.g_abTagType[i] = 255;
            }
        }
        if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) {
            CRecipeTables& recipes = g_RecipeTables;
            recipes.g_arrRecipeAddr.clear();
            for (size_t i = 0; i < size_t(kMaxRecipeRows); ++i) {
                const uint8_t port = i % 2 ? 2 : 1;
                recipes.g_abRecipePort[i] = port;
                recipes.g_abRecipeCol1[i] = recipes.g_abRecipeCol2[i] = 255;
                recipes.g_arrRecipeAddr.push_back(longest[port - 1]);
                recipes.g_awRecipeValue[i] = 65535;
            }
        }
        for (int port = 1; port <= 2; ++port) {
            CDefCommRegTables& regs = g_DefCommRegs;
            if ((port == 1 ? g_bAttachRegCom1 : g_bAttachRegCom2) == 1) {
                (port == 1 ? regs.g_arrAttachRegStation1 : regs.g_arrAttachRegStation2).assign(200, "255");
                (port == 1 ? regs.g_arrAttachRegAddr1 : regs.g_arrAttachRegAddr2).assign(200, longest[port - 1]);
                (port == 1 ? regs.g_arrAttachRegWords1 : regs.g_arrAttachRegWords2).assign(200, "255");
            }
            if ((port == 1 ? g_bGeneralEntityCom1 : g_bGeneralEntityCom2) == 1) {
                CGeneralEntityTables& g = g_GeneralEntity;
                (port == 1 ? g.g_nExtSetupLen1 : g.g_nExtSetupLen2) = 200;
                std::fill_n(port == 1 ? g.g_abExtSetup1 : g.g_abExtSetup2, 200, uint8_t(0xA5));
            }
        }
        if (ui::Control* edit = CellEdit()) edit->UserKey(ui::VK_ESCAPE);
        const BlockRows rows = View().GetBlockRows();
        const CEthNodeTable nodes = g_EthNodeTable;
        const CEipTagTable tags = g_EipTagTable;
        const CRecipeTables recipes = g_RecipeTables;
        const CDefCommRegTables regs = g_DefCommRegs;
        const CGeneralEntityTables entity = g_GeneralEntity;

        SaveCloseOpen(tree.Path() + pair.product + "/Projects/every.prj");
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        ASSERT_NE(g_pNewBlockExView, nullptr);
        const BlockRows after = View().GetBlockRows();
        ASSERT_EQ(after.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i)
            for (int col : {kColSourcePlc, kColSourceAddr, kColDestPlc, kColDestAddr})
                EXPECT_EQ(after[i][size_t(col)], rows[i][size_t(col)]) << "row " << i << " column " << col;
        EXPECT_EQ(g_EthNodeTable.g_arrNodeIp, nodes.g_arrNodeIp);
        EXPECT_EQ(g_EthNodeTable.g_arrNodePort, nodes.g_arrNodePort);
        EXPECT_EQ(g_EipTagTable.g_arrTagName, tags.g_arrTagName);
        EXPECT_EQ(g_EipTagTable.g_arrTagCode, tags.g_arrTagCode);
        EXPECT_EQ(g_RecipeTables.g_arrRecipeAddr, recipes.g_arrRecipeAddr);
        EXPECT_EQ(0, std::memcmp(g_RecipeTables.g_awRecipeValue, recipes.g_awRecipeValue, sizeof recipes.g_awRecipeValue));
        EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr1, regs.g_arrAttachRegAddr1);
        EXPECT_EQ(g_DefCommRegs.g_arrAttachRegAddr2, regs.g_arrAttachRegAddr2);
        EXPECT_EQ(g_DefCommRegs.g_arrAttachRegStation2, regs.g_arrAttachRegStation2);
        EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen1, entity.g_nExtSetupLen1);
        EXPECT_EQ(g_GeneralEntity.g_nExtSetupLen2, entity.g_nExtSetupLen2);
        EXPECT_EQ(0, std::memcmp(g_GeneralEntity.g_abExtSetup2, entity.g_abExtSetup2, sizeof entity.g_abExtSetup2));
    }
    EXPECT_LT(refused, pairs.size() / 4);
    EXPECT_GT(made, 50 * pairs.size());
}

}  // namespace
