#include "tables/IdbPanes.h"

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "compiler/IdbImage.h"
#include "compiler/UploadDecode.h"
#include "model/BlockTableData.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "res/TablesResource.h"
#include "tables/DBViewClass1.h"
#include "tables/DBViewClass2.h"
#include "ui/Backend.h"

#include <algorithm>


namespace {

constexpr size_t kMaxStations = 150;

IdbEntries g_entries;
// Node and starting address of each row whose choices the block tables hold, per port.
std::vector<std::string> g_storedKeys[2];

std::string StoredKey(const std::string& station, const std::string& address) {
    return platform::Trim(station) + '\x1f' + address;
}

IdbPane* PaneOf(int port) {
    return port == 1 ? static_cast<IdbPane*>(g_pDBView1) : static_cast<IdbPane*>(g_pDBView2);
}

int SwitchOf(int port) { return port == 1 ? g_IdbSwitches.m_bIdbCom1 : g_IdbSwitches.m_bIdbCom2; }

void Activate(IdbPane& pane) {
    if (ui::Frame* frame = pane.GetParentFrame()) frame->SetActiveView(&pane);
}

// The block editor's pane is the active view again after the panes were worked on.
void ActivateBlockView() {
    for (int port = 1; port <= 2; ++port) {
        IdbPane* pane = PaneOf(port);
        ui::Frame* frame = pane ? pane->GetParentFrame() : nullptr;
        if (!frame) continue;
        if (ui::View* view = frame->GetSplitter().GetPane(0, 1)) frame->SetActiveView(view);
        return;
    }
}

// The rows of a port's internal database, at most as many as its image holds.
std::vector<IdbPaneRow> PaneRows(int port) {
    std::vector<IdbPaneRow> rows = g_IdbPaneRows[port - 1];
    if (rows.size() > kMaxIdbRows) rows.resize(kMaxIdbRows);
    return rows;
}

// Keeps each row's data type, skip flag and fail value (COM2 also column 5 and the
// address) at the row's index of the block tables, with the row's node and address.
void StoreChoices(int port, const std::vector<IdbPaneRow>& rows, const std::vector<IdbRowSettings>& settings) {
    CBlockTableData& t = g_BlockTables;
    std::vector<std::string>& keys = g_storedKeys[port - 1];
    keys.clear();
    const size_t n = std::min({rows.size(), settings.size(), static_cast<size_t>(CBlockTableData::kRows)});
    for (size_t r = 0; r < n; ++r) {
        const IdbRowSettings& s = settings[r];
        if (port == 1) {
            t.m_anCom1DataType[r] = s.dataType;
            t.m_anCom1SkipOnFail[r] = s.skip;
            t.m_anCom1FailValue[r] = s.failValue;
        } else {
            t.m_anCom2DataType[r] = s.dataType;
            t.m_anCom2Column5[r] = s.column5;
            t.m_anCom2SkipOnFail[r] = s.skip;
            t.m_anCom2FailValue[r] = s.failValue;
            if (t.m_arrCom2RowText.size() <= r) t.m_arrCom2RowText.resize(r + 1);
            t.m_arrCom2RowText[r] = s.start;
        }
        keys.push_back(StoredKey(rows[r][IdbPane::kColNode], rows[r][IdbPane::kColStart]));
    }
}

// What the panes show now becomes the choices the next derivation keeps.
void CaptureChoices() {
    for (int port = 1; port <= 2; ++port) {
        const std::vector<IdbPaneRow> rows = PaneRows(port);
        std::vector<IdbRowSettings> settings;
        EncodeIdbImage(rows, port, &settings);
        StoreChoices(port, rows, settings);
    }
}

std::string ImagePath(int port, bool working) {
    if (working) return WorkingIdbPath(g_szProductName, port);
    return ProjectIdbPath(g_strPrjFileLastIo, port);
}

// The rows of one port derived from its entries into its pane, with the default
// registers (and for COM2 the node addresses) they bring.
void DerivePort(int port, IdbPane& pane) {
    const std::vector<IdbEntry>& entries = port == 1 ? g_entries.com1 : g_entries.com2;
    Activate(pane);
    pane.ClearList();
    if (port == 2 && g_bCom2IsCAN == 1) {
        // One row per parameter group, in block order.
        const size_t n = std::min(entries.size(), kMaxIdbRows);
        ui::ListView& list = pane.List();
        for (size_t i = 0; i < n; ++i) {
            const int row = list.InsertItem(list.GetItemCount(), "");
            list.SetItemText(row, IdbPane::kColNode, entries[i].station);
            list.SetItemText(row, IdbPane::kColStart, entries[i].address);
            pane.FillRow(row, entries[i].address);
        }
        pane.UpdateEmptyLayout();
        return;
    }
    std::vector<IdbRow> rows = DeriveIdbRows(entries, port, IdbRowLimit(port));
    if (rows.size() > kMaxIdbRows) {
        ui::MessageBox(platform::Format("The blocks give COM%d %zu internal-database rows, but the unit holds at "
                                        "most 255. Only the first 255 rows are kept.",
                                        port, rows.size()),
                       "Internal Database", ui::MB_OK | ui::MB_ICONWARNING);
        rows.resize(kMaxIdbRows);
    }
    // The default registers keep one row per rising station, at most 150.
    size_t stations = 0;
    int last = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int station = platform::Atoi(rows[i].station);
        if (i == 0 || station > last) {
            ++stations;
            last = station;
        }
    }
    if (stations > kMaxStations)
        ui::MessageBox(platform::Format("The internal database of COM%d reaches %zu stations, but the default "
                                        "communication registers hold at most 150. Only the first 150 are kept.",
                                        port, stations),
                       "Internal Database", ui::MB_OK | ui::MB_ICONWARNING);
    for (const IdbRow& row : rows) {
        pane.AddRow(row.station, row.start, row.count);
        AddDefCommRegisterForRow(port, row, pane.List().GetItemCount());
    }
}

}  // namespace

void FillBlockTables(const BlockRows& rows) {
    g_entries = CollectIdbEntries(rows, g_IdbSwitches.m_bIdbCom1 == 1, g_IdbSwitches.m_bIdbCom2 == 1);
    CBlockTableData& t = g_BlockTables;
    t.ClearTables();
    for (const BlockRow& row : rows) {
        t.m_arrBlockNo.push_back(row[kColBlockNo]);
        t.m_arrWordCount.push_back(row[kColWords]);
    }
    for (const IdbEntry& e : g_entries.com1) {
        t.m_arrCom1Address.push_back(e.address);
        t.m_arrCom1Station.push_back(e.station);
    }
    for (const IdbEntry& e : g_entries.com2) {
        t.m_arrCom2Address.push_back(e.address);
        t.m_arrCom2Station.push_back(e.station);
    }
}

const IdbEntries& CurrentIdbEntries() { return g_entries; }

void ClearIdbEntries() {
    g_entries = IdbEntries();
    g_BlockTables.ClearTables();
}

void FillIdbViews() {
    // Every port is derived afresh: a port without entries (or without an internal
    // database) shows no rows rather than those of an earlier derivation.
    for (int port = 1; port <= 2; ++port) {
        IdbPane* pane = PaneOf(port);
        if (pane && pane->GetDlgItem(IDC_IDB_LIST)) DerivePort(port, *pane);
    }
    if (g_entries.com1.empty() && g_entries.com2.empty()) ClearIdbEntries();
    ActivateBlockView();
}

void WriteIdbImages() {
    g_bIdb1Edited = 0;
    g_bIdb2Edited = 0;
    // An untitled project has no files of its own yet: its rows go to the working pair.
    const bool working = g_bProjectModified == 1 || g_strPrjFileLastIo.empty();
    for (int port = 1; port <= 2; ++port) {
        std::string bytes;
        if (SwitchOf(port) == 1) {
            if (IdbPane* pane = PaneOf(port)) Activate(*pane);
            const std::vector<IdbPaneRow> rows = PaneRows(port);
            std::vector<IdbRowSettings> settings;
            bytes = EncodeIdbImage(rows, port, &settings);
            StoreChoices(port, rows, settings);
        }
        const std::string path = ImagePath(port, working);
        // The working pair's folder is the program's own: made when it is missing.
        if (working && !g_szProductName.empty()) platform::MakeDirectories(platform::ResolvePath(deffiles::ProjectsFolder(g_szProductName)));
        if (!platform::WriteFileBytes(path, bytes))
            ui::MessageBox("Unable to create intermediate file.");
    }
    ActivateBlockView();
}

void BuildIdbImage(const BlockRows& rows) {
    CaptureChoices();
    FillBlockTables(rows);
    FillIdbViews();
    WriteIdbImages();
}

int LoadIdbImages() {
    int result = 0;
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    for (int port = 1; port <= 2; ++port) {
        std::string path;
        if (g_bIdbModified == 1) {
            const std::string& uploaded = port == 1 ? g_szUploadIdbFile1 : g_szUploadIdbFile2;
            path = uploaded.empty() ? ImagePath(port, true) : uploaded;
        } else {
            path = ImagePath(port, false);
        }
        std::string bytes, reason;
        if (!platform::ReadFileSafely(path, platform::kProjectFileCap, bytes, reason) || !CheckIdbImage(bytes, reason)) {
            // The port keeps its switch from the PLC file and its rows: a missing or damaged
            // file must not take the internal database away, nor give it rows, at the next save.
            ui::MessageBox("Unable to Open intermediate file.\n\"" + platform::ResolvePath(path) + "\": " + reason + ".");
            result = -1;
            continue;
        }
        int& on = port == 1 ? g_IdbSwitches.m_bIdbCom1 : g_IdbSwitches.m_bIdbCom2;
        on = bytes.empty() ? 0 : 1;
        std::vector<IdbPaneRow> rows;
        if (on) {
            rows = DecodeIdbImage(bytes, port, g_bCom2IsCAN == 1, t.g_strPLC2Id);
            if (rows.size() > kMaxIdbRows) rows.resize(kMaxIdbRows);  // what the tables hold
        }
        // Shown by the port's pane, or kept in the model alone while there is none.
        IdbPane* pane = PaneOf(port);
        if (pane && pane->GetDlgItem(IDC_IDB_LIST)) {
            Activate(*pane);
            pane->SetRows(rows);
        } else {
            g_IdbPaneRows[port - 1] = rows;
        }
        std::vector<IdbRowSettings> settings;
        EncodeIdbImage(rows, port, &settings);
        StoreChoices(port, rows, settings);
    }
    // The tables now hold the choices of the rows loaded: a derivation keeps them.
    g_bIdbViewsFilled = 1;
    ActivateBlockView();
    return result;
}

void UpdateIdbAfterSave(const BlockRows& rows, const IdbSaveState& state) {
    if (g_bIdbModified == 1) {
        // Rows taken from a unit are kept as they are.
        WriteIdbImages();
        g_bIdbModified = 0;
        return;
    }
    bool derived = false;
    const bool handEdited = g_bIdb1Edited == 1 || g_bIdb2Edited == 1;
    if (state.saveAs && g_bIdbViewsFilled == 1) {
        // Save As keeps the rows the engineer has; only a changed block list or a confirmed
        // control word derives them again.
        if (state.blockListEdited || (state.ctrlWordConfirmed && !handEdited)) BuildIdbImage(rows);
        else WriteIdbImages();
        return;
    }
    if (state.firstSave) {
        BuildIdbImage(rows);
        g_bIdbViewsFilled = 1;
        derived = true;
    } else if (state.blockListEdited) {
        g_bIdbViewsFilled = 1;
        BuildIdbImage(rows);
        derived = true;
    } else if (handEdited) {
        WriteIdbImages();
    }
    if (state.ctrlWordConfirmed && !derived) BuildIdbImage(rows);
}

int FindStoredIdbRow(int port, const std::string& station, const std::string& address) {
    if (port != 1 && port != 2) return -1;
    const std::vector<std::string>& keys = g_storedKeys[port - 1];
    const auto it = std::find(keys.begin(), keys.end(), StoredKey(station, address));
    return it == keys.end() ? -1 : static_cast<int>(it - keys.begin());
}

void ClearStoredIdbRows() {
    g_storedKeys[0].clear();
    g_storedKeys[1].clear();
}
