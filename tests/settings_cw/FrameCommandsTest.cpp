// The frame's "Control Word Setting..." and "Error Indication Bit Setting..." on a newer
// project of the sample tree (QVX-S7: Modbus RTU Master on COM1, DF1 Full Duplex on
// COM2): the dialog they open, and a confirmed control word that the next save carries
// into the COM1 internal-database pane.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "HeadlessUi.h"
#include "PlcPairs.h"
#include "TestSupport.h"
#include "compiler/ProjectImage.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "model/BlockRows.h"
#include "editor/NewBlockExView.h"
#include "plc/PlcRegisterTables.h"
#include "res/FrameResource.h"
#include "plc/DefinitionFiles.h"
#include "res/SettingsResource.h"
#include "settings/ControlWordExDlg.h"
#include "tables/DBViewClass1.h"

namespace {

ui::HTREEITEM Find(ui::TreeView& t, const std::string& text, ui::HTREEITEM parent = ui::TVI_ROOT) {
    for (ui::HTREEITEM item : t.GetChildren(parent)) {
        if (t.GetItemText(item) == text) return item;
        if (ui::HTREEITEM inner = Find(t, text, item)) return inner;
    }
    return 0;
}

class ControlWordCommands : public ::testing::Test {
protected:
    testsupport::SampleTree tree;
    testsupport::HeadlessUi ui;
    std::unique_ptr<CMainFrame> frame;

    void SetUp() override {
        g_bProjectModified = g_bProjectSaved = g_bUntitled = 0;
        g_bNewBlockListEdited = g_bCtrlWordDlgOK = g_bCtrlWordConfirmed = 0;
        g_bSlaveMode = 0;
        g_strPrjFile.clear();
        g_ProjectSettings = CProjectSettings();
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->LoadFrame());
        frame->SetClientArea(1200, 800);
        frame->GoToProductLevel();
        auto* products = dynamic_cast<CInputView2*>(frame->GetSplitter().GetPane(0, 0));
        ASSERT_NE(products, nullptr);
        ASSERT_TRUE(products->Tree()->UserSelect(Find(*products->Tree(), "QVX-S7")));
        auto* com1 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 0));
        auto* com2 = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, 1));
        ASSERT_NE(com1, nullptr);
        ASSERT_NE(com2, nullptr);
        ASSERT_TRUE(com1->Tree()->UserSelect(Find(*com1->Tree(), "Modbus RTU Master")));
        ASSERT_TRUE(com2->Tree()->UserSelect(Find(*com2->Tree(), "DF1 Full Duplex")));
        ASSERT_TRUE(frame->UserCommand(ID_CONFIGURE_PROJECT));
        ASSERT_NE(g_pNewBlockExView, nullptr);
    }
    void TearDown() override {
        frame.reset();
        g_PlcRegisterTables.ResetProject();
        g_szProductName.clear();
    }

    bool Newer() const { return deffiles::IsNewGeneration(g_szProductName); }
    // The project level of a pair, chosen as the engineer does: a model of a protocol on each
    // port. False when the program refuses the pair.
    bool Configure(const std::string& product, unsigned deviceId, const std::pair<std::string, std::string> (&pair)[2]) {
        g_bProjectModified = g_bBlockListEdited = 0;
        frame->Services().tagTableDialog = [] { return 1; };  // the tag table an Ethernet IP pair opens with
        frame->CloseToProductLevel();
        g_szProductName = g_szProductNameCopy = g_szProductPath = product;
        g_nDeviceId = g_nDeviceIdAlt = deviceId;
        frame->GoToProtocolLevel();
        for (int port = 1; port <= 2; ++port) {
            auto* view = dynamic_cast<CProtocolView*>(frame->GetSplitter().GetPane(0, port - 1));
            if (!view) return false;
            ui::TreeView& t = *view->Tree();
            const ui::HTREEITEM protocol = Find(t, pair[port - 1].first);
            const ui::HTREEITEM model = protocol ? Find(t, pair[port - 1].second, protocol) : 0;
            if (!protocol || !t.UserSelect(model ? model : protocol)) return false;
        }
        ui.ClearRecords();
        const int boxes = int(ui.MessageBoxes().size());
        return frame->UserCommand(ID_CONFIGURE_PROJECT) && int(ui.MessageBoxes().size()) == boxes &&
               frame->QueryCommand(ID_ERROR_BIT_SETTING).IsEnabled();
    }
    // Ctrl+W (mode 1) or Ctrl+E (mode 2) opens the generation's dialog, which runs `step`.
    void RunDialog(int mode, const std::function<void(ui::Dialog&)>& step) {
        ui.ExpectModal(Newer() ? IDD_CONTROL_WORD_EX : IDD_CONTROL_WORD, step);
        ASSERT_TRUE(frame->UserAccelerator(ui::FCONTROL, mode == 1 ? 'W' : 'E'));
    }
    // The control word and the error bits as the project keeps them.
    std::vector<std::string> Stored() const {
        const CProjectSettings& s = g_ProjectSettings;
        std::vector<std::string> v = {s.g_strCtrlWordAddr, std::to_string(s.g_nCtrlWordSide),
                                      std::to_string(s.g_bCtrlWordEnabled), s.g_strErrBitAddr1,
                                      std::to_string(s.g_bErrBit1Enabled), s.g_strErrBitAddr2,
                                      std::to_string(s.g_bErrBit2Enabled)};
        if (Newer())
            for (int n : {s.g_nCtrlWordStation, s.g_nCtrlWordWords, s.g_nErrBit1, s.g_nErrBit2})
                v.push_back(std::to_string(n));
        return v;
    }
    // What both modes of the dialog show of the stored settings (each left with Esc), and
    // what the unit image carries of them.
    std::vector<std::string> Shown() {
        std::vector<std::string> v;
        for (int mode : {1, 2})
            RunDialog(mode, [&](ui::Dialog& d) {
                for (int id : {IDC_CW_CTRL_WORD, IDC_CW_ERR_BIT1, IDC_CW_ERR_BIT2, IDC_CW_PLC1_ADDRESS,
                               IDC_CW_PLC2_ADDRESS, IDC_CW_PLC1_NUMBER, IDC_CW_PLC1_COLON, IDC_CW_PLC1_SLASH,
                               IDC_CW_PLC2_NUMBER, IDC_CW_PLC2_COLON, IDC_CW_PLC2_SLASH})
                    v.push_back(d.GetDlgItemText(id));
                for (int id : {IDC_CW_COM1, IDC_CW_COM2, IDC_CW_ENABLE1, IDC_CW_ENABLE2})
                    v.push_back(std::to_string(d.IsDlgButtonChecked(id)));
                d.UserPressEscape();
            });
        const std::string record = BuildSetupRecord(Newer());
        v.push_back(record.substr(0, 31));                          // enables, side, register texts
        v.push_back(record.substr(46, 2) + record.substr(52, 2));  // station, words, bit numbers
        return v;
    }
    // The project's writer into the file (Save refuses the incomplete default row), then
    // Ctrl+C and Ctrl+O of the file.
    void SaveCloseOpen(const std::string& path) {
        ASSERT_TRUE(frame->Services().saveProject(Newer(), path));
        if ((Newer() ? g_bProjectModified : g_bBlockListEdited) == 1) ui.AnswerMessageBox(ui::IDNO);
        ASSERT_TRUE(frame->UserAccelerator(ui::FCONTROL, 'C'));
        ui.AnswerFileDialog(path);
        ASSERT_TRUE(frame->UserAccelerator(ui::FCONTROL, 'O'));
    }
};

TEST_F(ControlWordCommands, ConfirmedControlWordReachesTheDatabasePaneOnSave) {
    // One complete block, so that the project saves.
    const std::string cells[] = {"", "10", "Modbus RTU Master", "1", "H0001", "DF1 Full Duplex", "2",
                                 "N007:000", "5", "", ""};
    for (int c = 1; c < kBlockListColumns; ++c)
        if (c != kColControlBit) g_pNewBlockExView->SetCellText(0, c, cells[c]);

    ui.ExpectModal(IDD_CONTROL_WORD_EX, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Control Word Setting");
        auto& list = d.Item<ui::ListControl>(IDC_CW_PLC1_REGISTER);
        EXPECT_EQ(list.GetLBText(list.GetCurSel()), "Holding Register");
        EXPECT_EQ(list.GetCount(), 1);
        d.Item(IDC_CW_PLC1_NUMBER).UserType("500");
        d.UserClickButton(IDC_CW_ENABLE1);
        d.Item(IDC_CW_STATION_ID).UserType("3");
        d.Item(IDC_CW_WORDS).UserType("2");
        d.UserClickButton(IDC_CW_OK);
    });
    ASSERT_TRUE(frame->UserCommand(ID_CONTROL_WORD_SETTING));
    EXPECT_EQ(g_ProjectSettings.g_strCtrlWordAddr, "H0500");
    EXPECT_EQ(g_ProjectSettings.g_strCtrlWordShown, "H0500");
    EXPECT_EQ(g_bCtrlWordDlgOK, 1);
    EXPECT_EQ(g_bCtrlWordConfirmed, 1);

    ui.AnswerFileDialog(tree.Path() + "QVX-S7/Projects/word.prj");
    ASSERT_TRUE(frame->UserCommand(ID_FILE_SAVE_PROJECT));
    EXPECT_EQ(g_bCtrlWordDlgOK, 0);  // taken up by the save
    ASSERT_NE(g_pDBView1, nullptr);
    bool found = false;
    for (const IdbPaneRow& row : g_pDBView1->GetRows())
        for (const std::string& cell : row) found = found || cell == "H0500";
    EXPECT_TRUE(found) << "the control word's row in the COM1 pane";

    // Error bits: the same dialog in its other mode; Esc leaves everything.
    ui.ExpectModal(IDD_CONTROL_WORD_EX, [](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Error Indication Bit Setting");
        d.UserPressEscape();
    });
    ASSERT_TRUE(frame->UserCommand(ID_ERROR_BIT_SETTING));
    EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr1, "");
}

// DF1's integer bits on COM2 as the error bit of the COM2 PLC: every address of the type
// (NB07:000/00 to NB99:255/15) is longer than the project file holds, so the type is not
// offered; the integer's bit taken instead opens again as it was saved, in the settings, in
// the dialog and in the unit image.
TEST_F(ControlWordCommands, AnErrorBitTypeTheProjectCannotHoldIsNotOffered) {
    RunDialog(2, [&](ui::Dialog& d) {
        auto& list = d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER);
        EXPECT_EQ(list.FindStringExact(-1, "Integer Bit"), -1);
        ASSERT_TRUE(list.UserSelect(list.FindStringExact(-1, "Integer")));
        if (!d.IsDlgButtonChecked(IDC_CW_ENABLE2)) d.UserClickButton(IDC_CW_ENABLE2);
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT2), "N007:000_0");
        d.UserClickButton(IDC_CW_OK);
        EXPECT_TRUE(d.IsEnded());
    });
    EXPECT_TRUE(ui.MessageBoxes().empty());
    EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr2, "N007:000");
    EXPECT_EQ(g_ProjectSettings.g_nErrBit2, 0);
    const std::vector<std::string> stored = Stored(), shown = Shown();
    SaveCloseOpen(tree.Path() + "QVX-S7/Projects/bits.prj");
    ASSERT_NE(g_pNewBlockExView, nullptr);
    EXPECT_EQ(Stored(), stored);
    EXPECT_EQ(Shown(), shown);

    // Such a bit kept in a project (an older file's, an upload's) opens under its own type
    // and is kept as it stands; an edit keeps the type, and OK then says the address is too
    // long rather than store another type's.
    for (const std::string kept : {"NB07:000/0", "NB07:00000"}) {
        SCOPED_TRACE(kept);
        g_ProjectSettings.g_strErrBitAddr2 = kept;
        g_ProjectSettings.g_bErrBit2Enabled = 1;
        RunDialog(2, [&](ui::Dialog& d) {
            auto& list = d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER);
            EXPECT_EQ(list.GetLBText(list.GetCurSel()), "Integer Bit");
            EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT2), kept);
            d.UserClickButton(IDC_CW_OK);
        });
        EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr2, kept);
        EXPECT_EQ(BuildSetupRecord(true).substr(22, 9), "NB0700000");
        ui.ClearRecords();
        RunDialog(2, [&](ui::Dialog& d) {
            d.Item(IDC_CW_PLC2_COLON).UserType("1");
            EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT2), "NB07:001/00");
            d.UserClickButton(IDC_CW_OK);
            EXPECT_FALSE(d.IsEnded());
            d.UserPressEscape();
        });
        ASSERT_EQ(ui.MessageBoxes().size(), 1u);
        EXPECT_EQ(ui.MessageBoxes()[0].text.substr(0, 35), "The address NB07:001/00 is too long");
        EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr2, kept);
    }
}

// DF1's timers and counters on COM2: the Preset and the Accumulated type share a prefix and
// differ by the letter after the number, which names the type in the summary, in what OK
// stores and the file holds, in the type the dialog opens on and in the unit image's key,
// in both modes; typing a number and the "+" keep the letter. A project saved earlier with
// the word alone (T000) opens as before, on the Accumulated type.
TEST_F(ControlWordCommands, APresetOrAccumulatedTypeIsStoredOpenedAndSentAsChosen) {
    struct Row {
        int mode;
        const char* type;
        const char* summary;  // after the selection, then after typing 5 and after "+"
        const char* typed;
        const char* stepped;
        const char* key;
    } rows[] = {
        {2, "Timer Preset", "T000P_0", "T005P_0", "T006P_0", "T006**P**"},
        {2, "Counter Preset", "C000P_0", "C005P_0", "C006P_0", "C006**P**"},
        {2, "Timer Accumulated", "T000A_0", "T005A_0", "T006A_0", "T006A****"},
        {1, "Timer Preset", "T000P", "T005P", "T006P", "T006**P**"},
        {1, "Counter Preset", "C000P", "C005P", "C006P", "C006**P**"},
        {1, "Counter Accumulated", "C000A", "C005A", "C006A", "C006A****"},
    };
    const std::string path = tree.Path() + "QVX-S7/Projects/preset.prj";
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.type) + " mode " + std::to_string(row.mode));
        const int summary = row.mode == 1 ? IDC_CW_CTRL_WORD : IDC_CW_ERR_BIT2;
        RunDialog(row.mode, [&](ui::Dialog& d) {
            auto& list = d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER);
            ASSERT_TRUE(list.UserSelect(list.FindStringExact(-1, row.type)));
            if (row.mode == 1) d.UserClickButton(IDC_CW_COM2);
            if (!d.IsDlgButtonChecked(row.mode == 1 ? IDC_CW_ENABLE1 : IDC_CW_ENABLE2))
                d.UserClickButton(row.mode == 1 ? IDC_CW_ENABLE1 : IDC_CW_ENABLE2);
            EXPECT_EQ(d.GetDlgItemText(summary), row.summary);
            d.Item(IDC_CW_PLC2_NUMBER).UserType("5");
            EXPECT_EQ(d.GetDlgItemText(summary), row.typed);
            d.UserClickButton(IDC_CW_PLC2_NUMBER_UP);
            EXPECT_EQ(d.GetDlgItemText(summary), row.stepped);
            d.UserClickButton(IDC_CW_OK);
        });
        const std::string stored = std::string(row.stepped).substr(0, 5);
        SaveCloseOpen(path);
        ASSERT_NE(g_pNewBlockExView, nullptr);
        EXPECT_NE(tree.Read("QVX-S7/Projects/preset.prj").find(stored), std::string::npos);
        EXPECT_EQ(row.mode == 1 ? g_ProjectSettings.g_strCtrlWordAddr : g_ProjectSettings.g_strErrBitAddr2, stored);
        RunDialog(row.mode, [&](ui::Dialog& d) {
            auto& list = d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER);
            EXPECT_EQ(list.GetLBText(list.GetCurSel()), row.type);
            EXPECT_EQ(d.GetDlgItemText(summary), row.stepped);
            d.UserPressEscape();
        });
        EXPECT_EQ(BuildSetupRecord(true).substr(row.mode == 1 ? 2 : 22, 9), row.key);
    }
    // A project saved earlier with the word alone.
    g_ProjectSettings.g_strErrBitAddr2 = "T000";
    RunDialog(2, [&](ui::Dialog& d) {
        auto& list = d.Item<ui::ListControl>(IDC_CW_PLC2_REGISTER);
        EXPECT_EQ(list.GetLBText(list.GetCurSel()), "Timer Accumulated");
        EXPECT_EQ(d.GetDlgItemText(IDC_CW_ERR_BIT2), "T000_0");
        d.UserClickButton(IDC_CW_OK);
    });
    EXPECT_EQ(g_ProjectSettings.g_strErrBitAddr2, "T000");
    EXPECT_EQ(BuildSetupRecord(true).substr(22, 9), "T000A****");
}

// One address to give a dialog: mode 1 the control word, 2 an error bit; the panel (1 PLC1,
// 2 PLC2), a register it offers, at its lowest or highest address (a word register's error
// bit with bit 0 or 15).
struct AddressCase {
    int mode, panel, reg;
    bool highest;
};

// Every register of both PLCs, in both dialog modes, on both panels, at its lowest and
// highest address: a type no address of which the project can hold is not offered (DF1's
// Integer Bit alone); of every other, OK stores what its summary shows, and that opens
// again after Save and Close exactly as it was (settings, both modes of the dialog, unit
// image); were one refused, the message would say why and nothing be stored (then left
// with Esc or the close box). One save per pair holds the longest address OK took for each
// of the three. The type chosen is the type the dialog opens on again and the one whose key
// the unit image carries (a timer's Preset, T000P, never the Accumulated key T000A).
TEST_F(ControlWordCommands, EveryAddressOkTakesOfEveryPairOpensAsSaved) {
    const std::vector<testsupport::PlcPair> pairs = testsupport::EveryPlcPair(false);
    ASSERT_GT(pairs.size(), 60u);
    size_t configured = 0, taken = 0, refused = 0;
    std::set<std::string> notOffered;  // the types no address of which the project can hold
    for (const testsupport::PlcPair& pair : pairs) {
        SCOPED_TRACE(pair.product + ": " + pair.ports[0].first + " " + pair.ports[0].second + " / " +
                     pair.ports[1].first + " " + pair.ports[1].second);
        if (!Configure(pair.product, pair.deviceId, pair.ports) || (Newer() ? g_bSlaveMode : g_bBlockExSlaveMode) == 1)
            continue;  // a pair the program refuses, or one with a slave driver: no dialog to run
        ++configured;
        const CPlcRegisterTables& t = g_PlcRegisterTables;
        const bool newer = Newer();
        auto kind = [&](int panel, int r) { return std::stoi((panel == 1 ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind)[size_t(r)]); };
        std::vector<AddressCase> cases;
        for (int mode : {1, 2})
            for (int panel : {1, 2})
                for (int r = 0; r < t.RegisterCount(panel); ++r) {
                    const int k = kind(panel, r);
                    if (mode == 1 ? k == 1 : k == 0 || (newer && k == 1))
                        for (bool highest : {false, true}) cases.push_back({mode, panel, r, highest});
                }

        CProjectSettings best[3];  // what OK stored with the longest address of each
        size_t longest[3] = {0, 0, 0};
        for (const AddressCase& c : cases) {
            SCOPED_TRACE("mode " + std::to_string(c.mode) + " PLC" + std::to_string(c.panel) + " register " +
                         std::to_string(c.reg) + (c.highest ? " highest" : " lowest"));
            const int one = c.panel == 1;
            const std::vector<std::string> before = Stored();
            std::string summary;
            bool ended = false, offered = true;
            ui.ClearRecords();
            RunDialog(c.mode, [&](ui::Dialog& d) {
                auto& list = d.Item<ui::ListControl>(one ? IDC_CW_PLC1_REGISTER : IDC_CW_PLC2_REGISTER);
                int at = 0;
                while (at < list.GetCount() && list.GetItemData(at) != std::uint32_t(c.reg)) ++at;
                if (at == list.GetCount()) {  // a type the dialog leaves out
                    notOffered.insert((one ? t.g_arrPlc1RegName : t.g_arrPlc2RegName)[size_t(c.reg)]);
                    offered = false;
                    d.UserPressEscape();
                    return;
                }
                ASSERT_TRUE(list.UserSelect(at));
                if (c.highest) {
                    const size_t r = size_t(c.reg);
                    const std::pair<int, std::string> parts[] = {
                        {one ? IDC_CW_PLC1_NUMBER : IDC_CW_PLC2_NUMBER, (one ? t.g_arrPlc1RegMax : t.g_arrPlc2RegMax)[r]},
                        {one ? IDC_CW_PLC1_COLON : IDC_CW_PLC2_COLON, (one ? t.g_arrPlc1RegColonMax : t.g_arrPlc2RegColonMax)[r]},
                        {one ? IDC_CW_PLC1_SLASH : IDC_CW_PLC2_SLASH, (one ? t.g_arrPlc1RegSlashMax : t.g_arrPlc2RegSlashMax)[r]}};
                    for (const auto& [id, text] : parts)
                        if (d.Item(id).IsWindowVisible()) d.Item(id).UserType(text);
                    list.UserFocus();
                    for (int down : {one ? IDC_CW_PLC1_BIT_DOWN : IDC_CW_PLC2_BIT_DOWN,
                                     one ? IDC_CW_PLC1_BIT3_DOWN : IDC_CW_PLC2_BIT3_DOWN})
                        if (const ui::Control* b = d.GetDlgItem(down); c.mode == 2 && b && b->IsWindowVisible())
                            d.UserClickButton(down);  // bit 0 to 15
                }
                if (c.mode == 1) d.UserClickButton(one ? IDC_CW_COM1 : IDC_CW_COM2);
                const int enable = c.mode == 1 || one ? IDC_CW_ENABLE1 : IDC_CW_ENABLE2;
                if (!d.IsDlgButtonChecked(enable)) d.UserClickButton(enable);
                summary = d.GetDlgItemText(c.mode == 1 ? IDC_CW_CTRL_WORD : one ? IDC_CW_ERR_BIT1 : IDC_CW_ERR_BIT2);
                d.UserClickButton(IDC_CW_OK);
                ended = d.IsEnded();
                if (ended) return;
                if (refused++ % 2) d.UserPressEscape();
                else d.UserClose();
            });
            // What OK stores of the summary: the newer error bits keep the bit apart.
            const std::string address = newer && c.mode == 2 ? summary.substr(0, summary.find('_')) : summary;
            if (!offered) continue;
            if (!ended) {
                ASSERT_EQ(ui.MessageBoxes().size(), 1u);
                EXPECT_EQ(ui.MessageBoxes()[0].text, "The address " + address +
                                                         " is too long to be saved in the project: an address may "
                                                         "have at most 10 characters.\nPlease choose another address.");
                EXPECT_EQ(Stored(), before);
                continue;
            }
            EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
            const CProjectSettings& s = g_ProjectSettings;
            const int slot = c.mode == 1 ? 0 : c.panel;
            EXPECT_EQ(slot == 0 ? s.g_strCtrlWordAddr : slot == 1 ? s.g_strErrBitAddr1 : s.g_strErrBitAddr2, address);
            // The type chosen is the one that opens again, and the one whose key the unit gets.
            RunDialog(c.mode, [&](ui::Dialog& d) {
                auto& list = d.Item<ui::ListControl>(one ? IDC_CW_PLC1_REGISTER : IDC_CW_PLC2_REGISTER);
                EXPECT_EQ(list.GetCurSel() < 0 ? -1 : int(list.GetItemData(list.GetCurSel())), c.reg);
                d.UserPressEscape();
            });
            EXPECT_EQ(BuildSetupRecord(newer).substr(slot == 0 ? 2 : slot == 1 ? 12 : 22, 9),
                      testsupport::KeyOfType(c.panel, c.reg, address));
            if (address.size() >= longest[slot]) {
                longest[slot] = address.size();
                best[slot] = s;
            }
            ++taken;
        }

        CProjectSettings& s = g_ProjectSettings;
        s.g_strCtrlWordAddr = best[0].g_strCtrlWordAddr;
        s.g_nCtrlWordSide = best[0].g_nCtrlWordSide;
        s.g_bCtrlWordEnabled = best[0].g_bCtrlWordEnabled;
        s.g_strErrBitAddr1 = best[1].g_strErrBitAddr1;
        s.g_bErrBit1Enabled = best[1].g_bErrBit1Enabled;
        s.g_nErrBit1 = best[1].g_nErrBit1;
        s.g_strErrBitAddr2 = best[2].g_strErrBitAddr2;
        s.g_bErrBit2Enabled = best[2].g_bErrBit2Enabled;
        s.g_nErrBit2 = best[2].g_nErrBit2;
        const std::vector<std::string> stored = Stored(), shown = Shown();
        ui.ClearRecords();
        SaveCloseOpen(tree.Path() + pair.product + "/Projects/cw.prj");
        EXPECT_TRUE(ui.MessageBoxes().empty()) << ui.MessageBoxes().front().text;
        EXPECT_EQ(Stored(), stored);
        EXPECT_EQ(Shown(), shown);
    }
    EXPECT_GT(configured, pairs.size() / 2);
    EXPECT_GT(taken, 20 * configured);
    EXPECT_EQ(refused, 0u);  // every type offered has an address OK can store
    EXPECT_EQ(notOffered, (std::set<std::string>{"Integer Bit"}));
}

}  // namespace
