// One project at a time: every kind of project, made after every other kind was made,
// edited and closed unsaved in the same program, saves the same files and shows the same
// title as in a program that never had another project. Each run is a process of its own.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <regex>

#include "HeadlessUi.h"
#include "ProjectFingerprint.h"
#include "TransferTestSupport.h"
#include "app/InputViews.h"
#include "app/MainFrame.h"
#include "app/TransferTasksDlg.h"
#include "app/DownloadDlg.h"
#include "app/IPSettingsUploadDlg.h"
#include "app/MacAddressDlg.h"
#include "link/IpSettingsUpload.h"
#include "res/ToolsResource.h"
#include "link/OlderTransfer.h"
#include "projectfiles/OlderProjectFile.h"
#include "editor/BlockExView.h"
#include "editor/NewBlockExView.h"
#include "link/SerialPort.h"
#include "projectfiles/ProjectFileWriter.h"
#include "res/FrameResource.h"
#include "res/PortSettingsResource.h"
#include "res/TransferResource.h"
#include "settings/PLCSheet.h"

namespace {

enum class Kind { NewNewer, OpenedWithSections, NewOlder, ThreePort, UploadedNewer, UploadedOlder };
const Kind kKinds[] = {Kind::NewNewer,  Kind::OpenedWithSections, Kind::NewOlder,
                       Kind::ThreePort, Kind::UploadedNewer,      Kind::UploadedOlder};
const char* const kKindNames[] = {"new newer",  "opened with sections", "new older",
                                  "three-port", "uploaded newer",       "uploaded older"};

std::string ReadAll(const std::string& path) {
    std::string bytes;
    platform::ReadFileBytes(platform::ResolvePath(path), bytes);
    return bytes;
}

// The project's time stamps ("Thursday, December 10, 2026, 12:19:20 AM") say when, not what.
std::string MaskTimeStamps(const std::string& bytes) {
    static const std::regex stamp("[A-Z][a-z]+day, [A-Z][a-z]+ [0-9]{2}, [0-9]{4}, [0-9]{2}:[0-9]{2}:[0-9]{2} [AP]M");
    return std::regex_replace(bytes, stamp, "<stamp>");
}

int Failures() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? test->result()->total_part_count() : 0;
}
int g_failuresBefore = 0;

// Runs body in a child process and returns what it returned, or what went wrong there.
std::string InChild(const std::function<std::string()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    g_failuresBefore = Failures();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string out = body();
        if (Failures() > g_failuresBefore) out = "a step failed in the child\n" + out;
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        std::fflush(stdout);
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) out += "\nthe child ended abnormally";
    return out;
}

class ProjectSequence : public ::testing::Test {
protected:
    ProjectSequence() : clock(kSpeedup) {}

    void SetUp() override {
        for (const char* product : {"QVX-S7", "QVX-00"})
            platform::WritePrivateProfileString("Com", "Port", "7", deffiles::DataInf(product));
        // A project with every feature section, to be opened, and the unit's copy of it.
        const std::string made = InChild([this] {
            auto makeSample = [] {
                SelectProject("QVX-S7", 82, "102", 1, "101", 1);
                SampleProject made = MakeSampleProject();
                // Only the features this PLC pair declares.
                LoadExtendedSetupKeys();
                BlockLinks links;
                ScanBlocks(made.rows, false, 0, links);
                made.writePrj = BuildNewerProjectImage(made.rows, links);
                platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), made.writePrj);
                return made;
            };
            const SampleProject sample = makeSample();
            g_BlockListRows = sample.rows;
            g_IdbPaneRows[0] = sample.pane1;
            g_IdbPaneRows[1] = sample.pane2;
            g_IdbSwitches = IdbPortSwitches{1, 1, 10, 10};
            g_bUntitled = 1;
            if (!SaveNewerProjectFirst(SectionsProject())) return std::string("not saved");
            // What the unit holds after a download of the same project, in blocks of 64 bytes.
            platform::WritePrivateProfileString("ProductList", "Product2DSize", "64", deffiles::ProductsInf());
            const auto [setup, stream] = StoredInUnit(makeSample());
            platform::WriteFileBytes(tree.Path() + "unit-setup.bin", std::string(setup.begin(), setup.end()));
            platform::WriteFileBytes(tree.Path() + "unit-project.bin", std::string(stream.begin(), stream.end()));

            // An older unit that took a QVX-00 project.
            unitsim::UnitSimulator unit;
            std::string error;
            if (!unit.Start(&error)) return error;
            ::setenv("QUORVEX_COM7", unit.SlavePath().c_str(), 1);
            UseUnit(unit, Kind::UploadedOlder);
            SelectProject("QVX-00", 81, "102", 1, "101", 1);
            const CPlcRegisterTables& t = g_PlcRegisterTables;
            const std::vector<OlderBlockRow> rows = {
                {"1", "10", t.g_strPLC1Name, "1", Canonical("N7:0", 1), t.g_strPLC2Name, "2", Canonical("H0001", 2), "5", ""}};
            platform::WriteFileBytes(platform::ResolvePath(WritePrjPath()), BuildOlderProjectImage(rows));
            CSerialPort port;
            port.SetClock(&clock);
            if (port.Open(kPortName) != 0) return std::string("no port");
            TransferRecorder rec;
            COlderTransfer transfer(port, rec);
            if (transfer.DownloadProject() != 0) return std::string("older download failed");
            port.Close();
            unit.WaitQuiet(50, 3000);
            const std::vector<uint8_t> olderSetup = unit.StoredSetup();
            std::string blocks;
            for (const std::vector<uint8_t>& block : unit.StoredOlderBlocks())
                blocks += char(block.size()) + std::string(block.begin(), block.end());
            platform::WriteFileBytes(tree.Path() + "older-setup.bin", std::string(olderSetup.begin(), olderSetup.end()));
            platform::WriteFileBytes(tree.Path() + "older-blocks.bin", blocks);
            unit.Stop();
            return std::string("ok");
        });
        ASSERT_EQ(made, "ok");
        // Every run starts from the same tree: no recent project to open at start.
        productsInf = ReadAll(deffiles::ProductsInf());
    }

    // The unit speaks the generation of the kind's product.
    static void UseUnit(unitsim::UnitSimulator& unit, Kind kind) {
        unitsim::Behaviour b = unit.GetBehaviour();
        b.older = kind == Kind::UploadedOlder;
        b.productCode = kind == Kind::UploadedOlder ? 81 : 82;
        b.driverReport = {102, 1, 101, 1, 0};
        b.firmwareVersion = "V03.40";
        unit.SetBehaviour(b);
    }

    std::string SectionsProject() const { return tree.Path() + "QVX-S7/Projects/sections.prj"; }

    // A program started afresh: the main window at the product level.
    struct Program {
        testsupport::HeadlessUi ui;
        unitsim::UnitSimulator unit;
        std::unique_ptr<CMainFrame> frame;
    };

    static void Pick(CMainFrame& frame, int column, const std::string& text) {
        ui::View* pane = frame.GetSplitter().GetPane(0, column);
        ui::TreeView* tree = nullptr;
        if (auto* products = dynamic_cast<CInputView2*>(pane)) tree = products->Tree();
        if (auto* protocols = dynamic_cast<CProtocolView*>(pane)) tree = protocols->Tree();
        ASSERT_NE(tree, nullptr) << text;
        const ui::HTREEITEM item = testsupport::FindTreeItem(*tree, text);
        ASSERT_NE(item, 0) << text;
        ASSERT_TRUE(tree->UserSelect(item));
    }

    // Makes a project of this kind at the product level.
    // The three-port product has no project level: its sheet is the project, and inSheet
    // acts on it before it is closed.
    void Make(Program& p, Kind kind, const std::function<void(CPLCSheet&)>& inSheet = {}) {
        CMainFrame& f = *p.frame;
        if (!dynamic_cast<CInputView2*>(f.GetSplitter().GetPane(0, 0))) {
            ASSERT_TRUE(f.UserCommand(ID_BACK));
        }
        switch (kind) {
            case Kind::NewNewer:
            case Kind::NewOlder: {
                Pick(f, 0, kind == Kind::NewNewer ? "QVX-S7" : "QVX-00");
                Pick(f, 0, "Modbus RTU Master");
                Pick(f, 1, "DF1 Full Duplex");
                ASSERT_TRUE(f.UserCommand(ID_CONFIGURE_PROJECT));
                const CPlcRegisterTables& t = g_PlcRegisterTables;
                if (kind == Kind::NewNewer) {
                    ASSERT_EQ(g_BlockListRows.size(), 1u);
                    g_BlockListRows[0] = {"1              ", "00004", t.g_strPLC2Name, "1", "N007:000", t.g_strPLC1Name,
                                          "2",  "H0001", "5", "0", "to the press"};
                    g_bProjectModified = g_bNewBlockListEdited = 1;
                } else {
                    auto* list = dynamic_cast<CBlockExView*>(f.GetSplitter().GetPane(0, 1));
                    ASSERT_NE(list, nullptr);
                    list->SetCellText(0, kOlderColSourcePlc, t.g_strPLC1Name);
                    list->SetCellText(0, kOlderColSourceAddr, "H0001");
                    list->SetCellText(0, kOlderColDestPlc, t.g_strPLC2Name);
                    list->SetCellText(0, kOlderColDestAddr, "N007:000");
                    list->SetCellText(0, kOlderColWords, "8");
                    g_bBlockListEdited = 1;
                }
                break;
            }
            case Kind::OpenedWithSections:
                f.OnOpenRecentProject(SectionsProject());
                ASSERT_NE(g_pNewBlockExView, nullptr);
                break;
            case Kind::ThreePort:
                Pick(f, 0, "Zava Dorazuduvoz");
                Pick(f, 0, "Modbus RTU Multiplexer");
                p.ui.ExpectModal(0, [&](ui::Dialog& d) {
                    auto& sheet = dynamic_cast<CPLCSheet&>(d);
                    sheet.UserSelectPage(1);
                    sheet.GetPortPage(1)->Item<ui::ComboBox>(IDC_BAUD_RATE).UserSelect(1);
                    sheet.GetPortPage(1)->Item(IDC_PORT_TIMEOUT).UserType("12");
                    sheet.UserSelectPage(0);
                    if (inSheet) inSheet(sheet);
                    sheet.UserClose();
                });
                ASSERT_TRUE(f.UserCommand(ID_CONFIGURE_PROJECT));
                break;
            case Kind::UploadedNewer: {
                Pick(f, 0, "QVX-S7");
                const std::string s = ReadAll(tree.Path() + "unit-setup.bin"), i = ReadAll(tree.Path() + "unit-project.bin");
                p.unit.SetStoredProject(std::vector<uint8_t>(s.begin(), s.end()), std::vector<uint8_t>(i.begin(), i.end()));
                p.ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) { d.UserClickButton(IDC_UPLOAD_PROJECT); });
                p.ui.AnswerMessageBox(ui::IDNO, "Uploading project completed.");
                UseUnit(p.unit, kind);
                ASSERT_TRUE(f.UserCommand(ID_UPLOAD_PROJECT));
                ASSERT_NE(g_pNewBlockExView, nullptr);
                break;
            }
            case Kind::UploadedOlder: {
                Pick(f, 0, "QVX-00");
                const std::string s = ReadAll(tree.Path() + "older-setup.bin"), b = ReadAll(tree.Path() + "older-blocks.bin");
                std::vector<std::vector<uint8_t>> blocks;
                for (size_t at = 0; at < b.size(); at += 1 + size_t(uint8_t(b[at])))
                    blocks.emplace_back(b.begin() + long(at) + 1, b.begin() + long(at) + 1 + uint8_t(b[at]));
                p.unit.SetStoredProject(std::vector<uint8_t>(s.begin(), s.end()), {});
                p.unit.SetStoredOlderBlocks(blocks);
                UseUnit(p.unit, kind);
                p.ui.ExpectModal(IDD_DOWNLOAD, [](ui::Dialog& d) { d.UserClickButton(IDC_UPLOAD_PROJECT); });
                p.ui.AnswerMessageBox(ui::IDNO, "Uploading project completed.");
                ASSERT_TRUE(f.UserCommand(ID_UPLOAD_PROJECT));
                ASSERT_NE(dynamic_cast<CBlockExView*>(f.GetSplitter().GetPane(0, 1)), nullptr);
                break;
            }
        }
    }

    // Edits every part of the open project that a later one could inherit, then closes it
    // without saving.
    void EditAndDrop(Program& p, Kind kind) {
        auto edit = [] {
            CProjectSettings& s = g_ProjectSettings;
            s.g_bErrBit1Enabled = 1;
            s.g_nErrBit1 = 7;
            s.g_strErrBitAddr1 = "N007:000/07";
            s.g_strProjAuthor = "someone else";
            for (int port = 0; port < 3; ++port) s.g_anPortTimeout[port] = 9;
            g_EthNodeTable.g_arrNodeIp.push_back("10.9.9.9");
            g_EthNodeTable.g_arrNodePort.push_back("9");
            g_EthNodeTable.g_arrNodeAddress.push_back("9");
            g_EipTagTable.g_arrTagCode.push_back("I00000099");
            g_EipTagTable.g_arrTagName.push_back("Leftover");
            g_bCtrlWordDlgOK = g_bCtrlWordConfirmed = g_bNewBlockListEdited = 1;
        };
        if (kind == Kind::ThreePort) {
            Make(p, kind, [&](CPLCSheet&) {
                edit();
                p.ui.AnswerMessageBox(ui::IDNO, "Do you want to save project?");
            });
            return;
        }
        Make(p, kind);
        if (Failures() > g_failuresBefore) return;
        edit();
        if (kind == Kind::NewOlder || kind == Kind::UploadedOlder) {
            g_OlderBlockListRows.push_back(g_OlderBlockListRows.front());
            g_bBlockListEdited = 1;
        } else {
            g_BlockListRows.push_back(g_BlockListRows.front());
            g_bProjectModified = 1;
        }
        p.ui.AnswerMessageBox(ui::IDNO, "Do you want to save project?");
        ASSERT_TRUE(p.frame->UserCommand(ID_FILE_CLOSE_PROJECT));
    }

    // Makes the last project, saves it and gives its files (time stamps masked) and title.
    std::string MakeAndSave(Program& p, Kind kind) {
        const bool older = kind == Kind::NewOlder || kind == Kind::UploadedOlder;
        const std::string product = older ? "QVX-00" : kind == Kind::ThreePort ? "Zava Dorazuduvoz" : "QVX-S7";
        const std::string path = tree.Path() + product + "/Projects/last.prj";
        if (kind == Kind::ThreePort) {
            Make(p, kind, [&](CPLCSheet& sheet) {
                p.ui.AnswerFileDialog(path);
                sheet.GetGeneralPage().OnSave();
            });
        } else {
            Make(p, kind);
            p.ui.AnswerFileDialog(path);
            const int command = kind == Kind::OpenedWithSections ? ID_FILE_SAVE_PROJECT_AS : ID_FILE_SAVE_PROJECT;
            EXPECT_TRUE(p.frame->UserCommand(command));
        }
        std::string out = ReadAll(path) + "|" + ReadAll(ProjectIdbPath(path, 1)) + "|" + ReadAll(ProjectIdbPath(path, 2)) +
                          "|" + p.frame->GetWindowText();
        return MaskTimeStamps(out);
    }

    // A saved QVX-S7 project (Modbus RTU Master on COM1, DF1 Full Duplex on COM2) with every
    // table filled: the COM1 default registers one row, H0001, station 1, 4 words; general
    // settings on both ports. "" when it is so.
    std::string MakeFilledProject(Program& p, const std::string& path) {
        Make(p, Kind::NewNewer);
        p.ui.AnswerFileDialog(path);
        EXPECT_TRUE(p.frame->UserAccelerator(ui::FCONTROL, 'S'));  // derives the panes from the block
        CDefCommRegTables& d = g_DefCommRegs;
        d.g_arrAttachRegStation1 = {"1"};
        d.g_arrAttachRegAddr1 = {"H0001"};
        d.g_arrAttachRegWords1.assign(200, "1");
        d.g_arrAttachRegWords1[0] = "4";
        d.g_arrAttachRegStation2 = {"3"};
        d.g_arrAttachRegAddr2 = {"H0002"};
        CGeneralEntityTables& g = g_GeneralEntity;
        for (int i = 0; i < g.g_nExtSetupLen1; ++i) g.g_abExtSetup1[i] = uint8_t(i + 1);
        for (int i = 0; i < g.g_nExtSetupLen2; ++i) g.g_abExtSetup2[i] = uint8_t(i + 11);
        g_RecipeTables.g_arrRecipeAddr = {"H0005"};
        g_RecipeTables.g_awRecipeValue[0] = 77;
        g_EthNodeTable.g_arrNodeAddress = {"4"};
        g_EthNodeTable.g_arrNodeIp = {"10.0.0.4"};
        g_EipTagTable.g_arrTagCode = {"I00000001"};
        g_EipTagTable.g_arrTagName = {"Speed"};
        g_ProjectSettings.g_strProjAuthor = "Walker";
        g_ProjectSettings.g_strProjDescription = "up";
        g_bProjectModified = 1;
        EXPECT_TRUE(p.frame->UserAccelerator(ui::FCONTROL, 'S'));
        if (g.g_nExtSetupLen1 == 0 || g.g_nExtSetupLen2 == 0 || g_IdbPaneRows[0].empty() || g_IdbPaneRows[1].empty() ||
            g_bProjectModified != 0 || d.g_arrAttachRegAddr1 != StringArray{"H0001"} || d.g_arrAttachRegWords1[0] != "4")
            return "the project is not filled and saved\n";
        return "";
    }

    // Each failure set on the program's unit in turn, then `run`, the command that fails: a
    // line for each that said nothing, changed the open project or changed its file.
    using UnitFailure = std::pair<const char*, std::function<void(unitsim::Behaviour&)>>;
    std::string FailEach(Program& p, const std::string& path, std::initializer_list<UnitFailure> failures,
                         const std::function<void()>& run) {
        const std::string saved = ReadAll(path), before = testsupport::ProjectFingerprint(p.frame->GetWindowText());
        const unitsim::Behaviour sound = p.unit.GetBehaviour();
        std::string report;
        for (const auto& [name, change] : failures) {
            unitsim::Behaviour b = sound;
            change(b);
            p.unit.SetBehaviour(b);
            p.ui.ClearRecords();
            run();
            p.unit.WaitQuiet(50, 3000);
            if (p.ui.MessageBoxes().empty()) report += std::string(name) + ": no message\n";
            if (testsupport::ProjectFingerprint(p.frame->GetWindowText()) != before) report += std::string(name) + ": changed\n";
            if (ReadAll(path) != saved) report += std::string(name) + ": the file changed\n";
        }
        return report;
    }

    // A program afresh, the kinds made, edited and dropped in turn, then then(last).
    std::string Run(const std::vector<Kind>& before, Kind last) {
        return RunThen(before, [&](Program& p) { return MakeAndSave(p, last); });
    }
    std::string RunThen(const std::vector<Kind>& before, const std::function<std::string(Program&)>& then) {
        return InChild([&] {
            platform::WriteFileBytes(platform::ResolvePath(deffiles::ProductsInf()), productsInf);
            Program p;
            std::string error;
            if (!p.unit.Start(&error)) return "no unit: " + error;
            ::setenv("QUORVEX_COM7", p.unit.SlavePath().c_str(), 1);
            g_TransferPort.SetClock(&clock);
            g_DownloadPort.SetClock(&clock);
            p.frame = std::make_unique<CMainFrame>();
            if (!p.frame->LoadFrame()) return std::string("no frame");
            p.ui.AdvanceTime(100);
            p.ui.AdvanceTime(3000);
            for (Kind kind : before) {
                EditAndDrop(p, kind);
                if (Failures() > g_failuresBefore) return std::string("failed making ") + kKindNames[int(kind)];
            }
            std::string out = then(p);
            p.frame.reset();
            p.unit.Stop();
            return out;
        });
    }

    testsupport::SampleTree tree;
    platform::TestClock clock;
    std::string productsInf;
};

}  // namespace

TEST_F(ProjectSequence, EveryKindSavesTheSameAfterEveryOtherKindWasEditedAndDropped) {
    for (Kind last : kKinds) {
        const std::string fresh = Run({}, last);
        ASSERT_EQ(fresh.find("failed"), std::string::npos) << kKindNames[int(last)] << ": " << fresh.substr(0, 300);
        for (Kind first : kKinds)
            EXPECT_EQ(Run({first}, last), fresh) << kKindNames[int(last)] << " after " << kKindNames[int(first)];
    }
}

// What an upload took from the unit is saved as a new project of its product is, and the
// file saved reopens and saves again to the same bytes.
TEST_F(ProjectSequence, AnUploadedProjectSavesLikeANewOneAndReopensToTheSameBytes) {
    for (Kind kind : {Kind::UploadedNewer, Kind::UploadedOlder}) {
        SCOPED_TRACE(kKindNames[int(kind)]);
        const bool older = kind == Kind::UploadedOlder;
        const std::string path = tree.Path() + (older ? "QVX-00" : "QVX-S7") + "/Projects/last.prj";
        const std::string made = Run({}, older ? Kind::NewOlder : Kind::NewNewer);
        const std::string both = RunThen({}, [&](Program& p) {
            MakeAndSave(p, kind);
            const std::string first = MaskTimeStamps(ReadAll(path));
            EXPECT_TRUE(p.frame->UserCommand(ID_FILE_CLOSE_PROJECT));
            p.frame->OnOpenRecentProject(path);
            EXPECT_TRUE(p.frame->UserCommand(ID_FILE_SAVE_PROJECT));
            return first + '\x1f' + MaskTimeStamps(ReadAll(path));
        });
        const size_t split = both.find('\x1f');
        ASSERT_NE(split, std::string::npos) << both;
        const std::string uploaded = both.substr(0, split), again = both.substr(split + 1);
        EXPECT_EQ(again, uploaded);
        // The format: the file's head names the same version as a new project's.
        ASSERT_GE(uploaded.size(), 24u);
        EXPECT_EQ(uploaded.substr(0, 24), made.substr(0, 24));
    }
}

// An upload that fails once the unit has named its drivers leaves the project level it
// built: the protocol level, its title and no project, as before the upload.
TEST_F(ProjectSequence, AFailedUploadReturnsToTheLevelItStartedFrom) {
    const std::string out = RunThen({Kind::NewOlder}, [&](Program& p) {
        Pick(*p.frame, 0, "QVX-S7");
        const std::string title = p.frame->GetWindowText();
        UseUnit(p.unit, Kind::UploadedNewer);
        unitsim::Behaviour b = p.unit.GetBehaviour();
        b.noProject = true;
        p.unit.SetBehaviour(b);
        p.ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
            d.UserClickButton(IDC_UPLOAD_PROJECT);
            d.UserClickButton(ui::IDCANCEL);
        });
        EXPECT_TRUE(p.frame->UserCommand(ID_UPLOAD_PROJECT));
        EXPECT_NE(dynamic_cast<CProtocolView*>(p.frame->GetSplitter().GetPane(0, 0)), nullptr);
        EXPECT_EQ(p.frame->GetWindowText(), title);
        EXPECT_EQ(g_bNoBlockView, 1);
        EXPECT_TRUE(g_BlockListRows.empty());
        EXPECT_TRUE(g_OlderBlockListRows.empty());
        return std::string("done");
    });
    EXPECT_EQ(out, "done");
}

// A failed Upload Project builds the block list again part-way (once the unit has named
// its drivers). The open project, saved and with every table filled (the COM1 default
// registers one row, H0001, station 1, 4 words; general settings on both ports), keeps
// every table, its title and its modified mark at every failure the unit can give, and
// the next Save writes the same file.
TEST_F(ProjectSequence, AFailedUploadChangesNothingOfTheOpenProject) {
    using Unit = unitsim::UnitSimulator;
    using B = unitsim::Behaviour;
    struct Failure {
        const char* name;
        std::function<void(Unit&)> unit;
        std::string message;
    };
    auto behave = [](std::function<void(unitsim::Behaviour&)> change) {
        return [change](Unit& unit) {
            B b = unit.GetBehaviour();
            change(b);
            unit.SetBehaviour(b);
        };
    };
    auto answer = [](uint8_t command, bool echo, std::vector<uint8_t> reply) {
        return [=](Unit& unit) {
            unit.SetCommand(command, unitsim::CommandSpec{echo, reply.empty() ? unitsim::AfterCommand::Nothing
                                                                              : unitsim::AfterCommand::Reply, reply, {}});
        };
    };
    const Failure failures[] = {
        {"silent unit", behave([](B& b) { b.silent = true; }), kMsgCommError},
        {"unknown driver", behave([](B& b) { b.driverReport = {102, 7, 101, 1, 0}; }), kMsgPlcFileError},
        {"no project", behave([](B& b) { b.noProject = true; }), kMsgNoProject},
        {"no status byte", behave([](B& b) { b.cutSetupAfter = 1; }), kMsgCommError},
        {"setup record cut", behave([](B& b) { b.cutSetupAfter = 30; }), kMsgCommError},
        {"no setup check byte", behave([](B& b) { b.cutSetupAfter = 66; }), kMsgCommError},
        {"setup closing byte left out", behave([](B& b) { b.omitSetupClosingByte = true; }),
         kMsgCommError},
        {"no image length", behave([](B& b) { b.cutImageAfter = 2; }), kMsgCommError},
        {"wrong check at block 1", behave([](B& b) { b.wrongCheckAtBlock = 1; }), kMsgCrcMismatch},
        {"silent after block 1", behave([](B& b) { b.stopAfterBlock = 1; }), kMsgBlockNotReceived},
        {"no image check byte", behave([](B& b) { b.cutImageAfter = 3 + 64; }), kMsgCrcNotReceived},
        {"image cut in block 2", behave([](B& b) { b.cutImageAfter = 3 + 65 + 30; }), kMsgBlockNotReceived},
        {"line cut", behave([](B& b) { b.dropAfterBytes = 9; }), kMsgCommError},
        {"no echo to the drivers", answer(0x20, false, {}), kMsgCommError},
        {"no echo to the setup record", answer(0x15, false, {}), kMsgCommError},
        {"wrong echo to the setup record", answer(0x15, false, {0x44}), kMsgCommError},
        {"no echo to the image", answer(0x16, false, {}), kMsgCommError},
        {"wrong echo to the image", answer(0x16, false, {0x44}), kMsgCommError},
        {"image closing byte left out", behave([](B& b) { b.omitImageClosingByte = true; }),
         kMsgCommError},
        {"handshakes answered wrong", behave([](B& b) { b.wrongHandshakes = 40; }), kMsgCommError},
        {"a unit of another product", behave([](B& b) { b.productCode = 94; }), kMsgProductIdMismatch},
        {"no project, alternate handshake", behave([](B& b) { b.firmwareVersion = "V03.4E", b.noProject = true; }),
         kMsgNoProject},
        // The same in blocks of 20 bytes.
        {"20: wrong check at block 1", behave([](B& b) { b.uploadBlockSize = 20, b.wrongCheckAtBlock = 1; }),
         kMsgCrcMismatch},
        {"20: silent after block 1", behave([](B& b) { b.uploadBlockSize = 20, b.stopAfterBlock = 1; }),
         kMsgBlockNotReceived},
        {"20: image cut in block 2", behave([](B& b) { b.uploadBlockSize = 20, b.cutImageAfter = 3 + 21 + 10; }),
         kMsgBlockNotReceived},
    };
    const std::string out = RunThen({}, [&](Program& p) {
        const std::string path = tree.Path() + "QVX-S7/Projects/s7up.prj";
        std::string report = MakeFilledProject(p, path);
        auto files = [&] { return ReadAll(path) + '|' + ReadAll(ProjectIdbPath(path, 1)) + '|' + ReadAll(ProjectIdbPath(path, 2)); };
        const std::string saved = files(), before = testsupport::ProjectFingerprint(p.frame->GetWindowText());
        const std::string s = ReadAll(tree.Path() + "unit-setup.bin"), i = ReadAll(tree.Path() + "unit-project.bin");
        for (const Failure& f : failures) {
            // A unit of its own for each failure, holding the project of the unit-setup files.
            Unit unit;
            std::string error;
            if (!unit.Start(&error)) return "no unit: " + error;
            ::setenv("QUORVEX_COM7", unit.SlavePath().c_str(), 1);
            unit.SetStoredProject(std::vector<uint8_t>(s.begin(), s.end()), std::vector<uint8_t>(i.begin(), i.end()));
            UseUnit(unit, Kind::UploadedNewer);
            f.unit(unit);
            platform::WritePrivateProfileString("ProductList", "Product2DSize",
                                                unit.GetBehaviour().uploadBlockSize == 20 ? "20" : "64",
                                                deffiles::ProductsInf());
            p.ui.ExpectModal(IDD_TRANSFER_TASKS, [](ui::Dialog& d) {
                d.UserClickButton(IDC_UPLOAD_PROJECT);
                d.UserPressEscape();
            });
            p.ui.ClearRecords();
            p.frame->UserCommand(ID_UPLOAD_PROJECT);
            unit.WaitQuiet(50, 3000);
            unit.Stop();
            if (p.ui.MessageBoxes().empty() || p.ui.MessageBoxes().back().text != f.message)
                report += std::string(f.name) + ": not its message\n";
            const std::string after = testsupport::ProjectFingerprint(p.frame->GetWindowText());
            if (after != before) {
                size_t at = 0;
                while (at < after.size() && at < before.size() && after[at] == before[at]) ++at;
                const size_t line = before.rfind('\n', at) + 1;
                report += std::string(f.name) + ": " + before.substr(line, 60) + " became " + after.substr(line, 60) + "\n";
            }
            if (files() != saved) report += std::string(f.name) + ": the files changed\n";
        }
        // What is saved next is what was saved before.
        EXPECT_TRUE(p.frame->UserAccelerator(ui::FCONTROL, 'S'));
        if (MaskTimeStamps(files()) != MaskTimeStamps(saved)) report += "the next save wrote another project\n";
        return report.empty() ? std::string("unchanged") : report;
    });
    EXPECT_EQ(out, "unchanged");
}

// A project taken from a unit has no file of its own yet: its first save (Ctrl+S, Save As
// or the close box's) failing at the .prj, either image or the journal changes nothing of
// it and leaves no file; the save that then succeeds opens again without a word.
TEST_F(ProjectSequence, AFailedFirstSaveOfAnUploadedProjectChangesNothing) {
    const std::string out = RunThen({}, [&](Program& p) {
        Make(p, Kind::UploadedNewer);
        std::string report;
        const std::string before = testsupport::ProjectFingerprint(p.frame->GetWindowText());
        const std::string path = tree.Path() + "QVX-S7/Projects/up.prj";
        for (long long pages : {0LL, 1LL, 2LL, 3LL}) {
            for (int command : {ID_FILE_SAVE_PROJECT, ID_FILE_SAVE_PROJECT_AS, 0}) {
                const std::string name = std::to_string(pages) + " pages, command " + std::to_string(command);
                platform::SetFreePagesForTests(pages);
                if (command == 0) p.ui.AnswerMessageBox(ui::IDYES, "Do you want to save project?");
                p.ui.AnswerFileDialog(path);
                p.ui.AnswerMessageBox(ui::IDOK);
                if (command == 0)
                    p.frame->UserClose();
                else
                    p.frame->UserCommand(command);
                platform::SetFreePagesForTests(-1);
                if (!p.frame->IsLive()) return name + ": the window closed";
                if (p.ui.MessageBoxes().empty() || p.ui.MessageBoxes().back().text.find("Unable to save") != 0)
                    report += name + ": not said\n";
                p.ui.ClearRecords();
                if (testsupport::ProjectFingerprint(p.frame->GetWindowText()) != before) report += name + ": changed\n";
                if (platform::FileExists(path)) report += name + ": a file was left\n";
            }
        }
        p.ui.AnswerFileDialog(path);
        EXPECT_TRUE(p.frame->UserAccelerator(ui::FCONTROL, 'S'));
        EXPECT_TRUE(p.frame->UserCommand(ID_FILE_CLOSE_PROJECT));
        p.frame->OnOpenRecentProject(path);
        for (const auto& box : p.ui.MessageBoxes()) report += "said: " + box.text + "\n";
        return report.empty() ? std::string("unchanged") : report;
    });
    EXPECT_EQ(out, "unchanged");
}

// The older products' upload that fails leaves the open older project as it was: its
// blocks, texts, title and modified mark, and its file.
TEST_F(ProjectSequence, AFailedOlderUploadChangesNothingOfTheOpenProject) {
    const std::string out = RunThen({}, [&](Program& p) {
        Make(p, Kind::NewOlder);
        const std::string path = tree.Path() + "QVX-00/Projects/older.prj";
        p.ui.AnswerFileDialog(path);
        EXPECT_TRUE(p.frame->UserAccelerator(ui::FCONTROL, 'S'));
        g_ProjectSettings.g_strProjAuthor = "Walker";
        std::string report = g_OlderBlockListRows.empty() ? "no blocks\n" : "";
        const std::string s = ReadAll(tree.Path() + "older-setup.bin"), b = ReadAll(tree.Path() + "older-blocks.bin");
        std::vector<std::vector<uint8_t>> blocks;
        for (size_t at = 0; at < b.size(); at += 1 + size_t(uint8_t(b[at])))
            blocks.emplace_back(b.begin() + long(at) + 1, b.begin() + long(at) + 1 + uint8_t(b[at]));
        p.unit.SetStoredProject(std::vector<uint8_t>(s.begin(), s.end()), {});
        p.unit.SetStoredOlderBlocks(blocks);
        UseUnit(p.unit, Kind::UploadedOlder);
        report += FailEach(p, path, {
            {"no project", [](auto& u) { u.noProject = true; }},
            {"wrong check at block 1", [](auto& u) { u.wrongCheckAtBlock = 1; }},
            {"silent after block 1", [](auto& u) { u.stopAfterBlock = 1; }},
            {"setup closing byte left out", [](auto& u) { u.omitSetupClosingByte = true; }},
        }, [&] {
            p.ui.ExpectModal(IDD_DOWNLOAD, [](ui::Dialog& d) {
                d.UserClickButton(IDC_UPLOAD_PROJECT);
                d.UserPressEscape();
            });
            p.frame->UserCommand(ID_UPLOAD_PROJECT);
        });
        return report.empty() ? std::string("unchanged") : report;
    });
    EXPECT_EQ(out, "unchanged");
}

// Upload System Data, the IP settings upload and the MAC address setting that fail (a silent
// unit, a unit of another product) leave the open project as it was, in the model and on disk.
TEST_F(ProjectSequence, AFailedUnitToolChangesNothingOfTheOpenProject) {
    const std::string out = RunThen({}, [&](Program& p) {
        const std::string path = tree.Path() + "QVX-S7/Projects/s7ip.prj";
        std::string report = MakeFilledProject(p, path);
        UseUnit(p.unit, Kind::UploadedNewer);
        g_IPUploadPort.SetClock(&clock);
        report += FailEach(p, path, {
            {"silent unit", [](auto& b) { b.silent = true; }},
            {"another product", [](auto& b) { b.productCode = 84; }},
        }, [&] {
            p.ui.ExpectModal(IDD_UPLOAD_SYSTEM_DATA, [](ui::Dialog& d) {
                d.UserClickButton(IDC_SYSDATA_UPLOAD);
                d.UserPressEscape();
            });
            CUploadSystemDataDlg dialog(p.frame.get());  // as Ctrl+M opens it, on the test's clock
            dialog.Port().SetClock(&clock);
            dialog.DoModal();
            p.unit.WaitQuiet(50, 3000);
            p.ui.ExpectModal(IDD_IP_SETTINGS_UPLOAD, [](ui::Dialog& d) {
                d.Item<ui::ListControl>(IDC_IP_COM_PORT).UserSelect(6);
                d.UserClickButton(IDC_IP_UPLOAD);
                d.UserPressEscape();
            });
            CIPSettingsUploadDlg ip(p.frame.get());
            ip.DoModal();
            g_IPUploadPort.Close();
            p.unit.WaitQuiet(50, 3000);
            p.ui.ExpectModal(IDD_MAC_ADDRESS, [](ui::Dialog& d) {
                d.Item(IDC_MAC_COM_PORT).UserFocus();
                d.Item(IDC_MAC_COM_PORT).UserType("COM7");
                for (int i = 0; i < 6; ++i) d.Item(IDC_MAC_BYTE1 + i).UserType("0" + std::to_string(i + 1));
                d.UserClickButton(ui::IDOK);
                d.UserPressEscape();
            });
            CMacAddressDlg mac(p.frame.get());
            mac.Port().SetClock(&clock);
            mac.DoModal();
        });
        g_IPUploadPort.SetClock(nullptr);
        return report.empty() ? std::string("unchanged") : report;
    });
    EXPECT_EQ(out, "unchanged");
}

// A project uploaded from an older unit, named with Save As, closed and opened again from the
// recent list, is the project the upload gave, without a message.
TEST_F(ProjectSequence, AnOlderUploadSavedAsReopensUnchanged) {
    const std::string out = RunThen({}, [&](Program& p) {
        Make(p, Kind::UploadedOlder);
        const std::string path = tree.Path() + "QVX-00/Projects/taken.prj";
        p.ui.ClearRecords();
        p.ui.AnswerFileDialog(path);
        EXPECT_TRUE(p.frame->UserCommand(ID_FILE_SAVE_PROJECT_AS));
        std::string report = g_OlderBlockListRows.empty() ? "no blocks\n" : "";
        if (g_bBlockListEdited != 0) report += "still marked edited\n";
        // The older list's edit mark is g_bBlockListEdited; the newer one's is not compared.
        auto fingerprint = [&] {
            const std::string all = testsupport::ProjectFingerprint(p.frame->GetWindowText());
            return all.substr(0, all.rfind("\nmodified:"));
        };
        const std::string saved = fingerprint();
        EXPECT_TRUE(p.frame->UserCommand(ID_FILE_CLOSE_PROJECT));
        g_ProjectSettings = CProjectSettings();
        p.frame->OnOpenRecentProject(path);
        if (fingerprint() != saved) report += "changed:\n" + saved + "\n" + fingerprint();
        for (const auto& box : p.ui.MessageBoxes()) report += "message: " + box.text + "\n";
        return report.empty() ? std::string("unchanged") : report;
    });
    EXPECT_EQ(out, "unchanged");
}
