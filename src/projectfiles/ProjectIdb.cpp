#include "projectfiles/ProjectIdb.h"

#include "model/ExtendedTables.h"
#include "model/IdbText.h"
#include "model/RunTimeState.h"
#include "compiler/IdbImage.h"
#include "compiler/UploadDecode.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "ui/Backend.h"

#include <algorithm>

namespace {

constexpr size_t kMaxStations = 150;
constexpr int kCanDeviceId = 83;

IdbEntries& g_entries = g_IdbEntries;

std::string StoredKey(const std::string& station, const std::string& address) {
    return platform::Trim(station) + '\x1f' + address;
}

int SwitchOf(int port) { return port == 1 ? g_IdbSwitches.m_bIdbCom1 : g_IdbSwitches.m_bIdbCom2; }

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
    std::vector<std::string>& keys = t.m_arrStoredRowKeys[port - 1];
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
        keys.push_back(StoredKey(rows[r][kIdbColNode], rows[r][kIdbColStart]));
    }
}

// What the rows hold now becomes the choices the next derivation keeps.
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

bool Plc2Is118() { return g_PlcRegisterTables.g_strPLC2Id == "118"; }

// The rows of one port derived from its entries, with the default registers (and for
// COM2 the node addresses) they bring.
void DerivePort(int port) {
    const std::vector<IdbEntry>& entries = port == 1 ? g_entries.com1 : g_entries.com2;
    std::vector<IdbPaneRow>& out = g_IdbPaneRows[port - 1];
    out.clear();
    if (port == 2 && g_bCom2IsCAN == 1) {
        // One row per parameter group, in block order.
        const size_t n = std::min(entries.size(), kMaxIdbRows);
        for (size_t i = 0; i < n; ++i) {
            IdbPaneRow row{};
            row[kIdbColNode] = entries[i].station;
            row[kIdbColStart] = entries[i].address;
            if (Com2ShowsParameterGroups()) {
                FillCanIdbRow(int(i), row);
            } else {
                FillNormalIdbRow(port, row);
                row[kIdbColWords] = "0";
            }
            out.push_back(row);
        }
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
    for (const IdbRow& derived : rows) {
        IdbPaneRow row{};
        row[kIdbColNode] = derived.station;
        row[kIdbColStart] = derived.start;
        row[kIdbColWords] = platform::Format("%d", derived.count);
        FillNormalIdbRow(port, row);
        if (port == 2 && Plc2Is118()) row[kIdbColWords] = "0";
        out.push_back(row);
        AddDefCommRegisterForRow(port, derived, int(out.size()));
    }
}

}  // namespace

void FillNormalIdbRow(int port, IdbPaneRow& row) {
    const CBlockTableData& tables = g_BlockTables;
    const std::string& address = row[kIdbColStart];
    const int kind = g_PlcRegisterTables.IsCoilAddress(address, port);
    // The user's choices follow the row's node and address.
    const int stored = g_bIdbViewsFilled == 1 ? FindStoredIdbRow(port, row[kIdbColNode], address) : -1;
    const int* dataTypes = port == 1 ? tables.m_anCom1DataType : tables.m_anCom2DataType;
    const int* skips = port == 1 ? tables.m_anCom1SkipOnFail : tables.m_anCom2SkipOnFail;
    const int* fails = port == 1 ? tables.m_anCom1FailValue : tables.m_anCom2FailValue;

    std::string dataType = "Word";
    if (kind == 1) {
        dataType = "DiscritBit";
    } else if (stored >= 0) {
        int code = dataTypes[stored];
        if (code == 1) code = 3;  // a bit type does not fit a register
        dataType = code == 0 ? "Word" : DataTypeCodeToText(code);
        if (dataType.empty()) dataType = "Word";
    }
    row[kIdbColDataType] = dataType;
    row[kIdbColScaling] = "1";
    row[kIdbColSkipCycles] = "0";
    if (stored >= 0) {
        row[kIdbColSkipOnFail] = skips[stored] == 1 ? "Yes" : "No";
        row[kIdbColFailValue] = platform::Format("%d", fails[stored]);
    } else {
        row[kIdbColSkipOnFail] = "No";
        row[kIdbColFailValue] = "65535";
    }
}

int LookupPgnLength(const std::string& pgn, bool& variable) {
    const size_t n = pgn.size();
    const size_t head = n > 9 ? 6 : 5;
    const std::string key = "0x" + (n > head ? pgn.substr(head) : std::string());
    const std::string value = platform::GetPrivateProfileString(
        "PGN Info", key, deffiles::kCorruptFile, 80, deffiles::PgnLengthInf(g_szProductName));
    const size_t comma = value.find(',');
    const std::string length = comma == std::string::npos ? std::string() : value.substr(0, comma);
    variable = length == "variable";
    return platform::Atoi(length);
}

void FillCanIdbRow(int index, IdbPaneRow& row) {
    const std::string pgn = row[kIdbColStart];
    bool variable = false;
    const std::string length = platform::Format("%d", LookupPgnLength(pgn, variable));
    if (variable) {
        std::string shown = " ";
        if (g_bIdbViewsFilled == 1) {
            // The length the user gave this group, when the row still holds that group.
            const CBlockTableData& t = g_BlockTables;
            const bool same = index >= 0 && index < CBlockTableData::kRows &&
                              static_cast<size_t>(index) < t.m_arrCom2RowText.size() &&
                              t.m_arrCom2RowText[static_cast<size_t>(index)] == pgn;
            shown = same ? platform::Format("%d", t.m_anCom2Column5[index]) : std::string();
        }
        row[kIdbColScaling] = shown;
    } else {
        row[kIdbColScaling] = length;
    }
    row[kIdbColDataType] = CPlcRegisterTables::PgnDirectionText(pgn);
    row[kIdbColWords] = "0";
    row[kIdbColSkipCycles] = CPlcRegisterTables::ReadPgnLength(pgn);
    row[kIdbColSkipOnFail] = "0";
    row[kIdbColFailValue] = "0";
}

bool Com2ShowsParameterGroups() { return g_bCom2IsCAN == 1 && !Plc2Is118(); }

void DecideCom2Layout() {
    // The selected product's entry decides whether its COM2 side can be a CAN bus.
    const int count = deffiles::ReadProductCount();
    for (int i = 1; i <= count; ++i) {
        if (deffiles::ReadProductName(i) != g_szProductName) continue;
        g_bCom2IsCAN = platform::Atoi(deffiles::ReadProductValue("DeviceID", i)) == kCanDeviceId ? 1 : 0;
        break;
    }
    CPlcRegisterTables& t = g_PlcRegisterTables;
    if (g_bCom2IsCAN == 0) t.g_strPlc2DriverId = t.g_strPLC2Id;
    if (g_bCom2IsCAN == 2) g_bCom2IsCAN = 1;
    // A CAN product uses the layout only with one of its CAN drivers on COM2.
    if (g_bCom2IsCAN == 1 && !t.g_strPlc2DriverId.empty()) {
        for (const std::string& id : g_arrCanDrivers) {
            if (id == t.g_strPlc2DriverId) {
                g_bCom2IsCAN = 1;
                break;
            }
            g_bCom2IsCAN = 0;
        }
    }
}

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
    // database) has no rows rather than those of an earlier derivation.
    for (int port = 1; port <= 2; ++port) DerivePort(port);
    if (g_entries.com1.empty() && g_entries.com2.empty()) ClearIdbEntries();
    IdbRowsChanged(0);
}

void WriteIdbImages(std::array<std::string, 2>* written) {
    g_bIdb1Edited = 0;
    g_bIdb2Edited = 0;
    // An untitled project has no files of its own yet: its rows go to the working pair.
    const bool working = g_bProjectModified == 1 || g_strPrjFileLastIo.empty();
    for (int port = 1; port <= 2; ++port) {
        std::string bytes;
        if (SwitchOf(port) == 1) {
            const std::vector<IdbPaneRow> rows = PaneRows(port);
            std::vector<IdbRowSettings> settings;
            bytes = EncodeIdbImage(rows, port, &settings);
            StoreChoices(port, rows, settings);
        }
        if (written) (*written)[port - 1] = bytes;
        const std::string path = ImagePath(port, working);
        // The working pair's folder is the program's own: made when it is missing.
        if (working && !g_szProductName.empty()) platform::MakeDirectories(platform::ResolvePath(deffiles::ProjectsFolder(g_szProductName)));
        if (!platform::WriteFileBytes(path, bytes))
            ui::MessageBox("Unable to create intermediate file.");
    }
}

void BuildIdbImage(const BlockRows& rows, std::array<std::string, 2>* written) {
    CaptureChoices();
    FillBlockTables(rows);
    FillIdbViews();
    WriteIdbImages(written);
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
        g_IdbPaneRows[port - 1] = rows;
        std::vector<IdbRowSettings> settings;
        EncodeIdbImage(rows, port, &settings);
        StoreChoices(port, rows, settings);
    }
    // The tables now hold the choices of the rows loaded: a derivation keeps them.
    g_bIdbViewsFilled = 1;
    IdbRowsChanged(0);
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
    const std::vector<std::string>& keys = g_BlockTables.m_arrStoredRowKeys[port - 1];
    const auto it = std::find(keys.begin(), keys.end(), StoredKey(station, address));
    return it == keys.end() ? -1 : static_cast<int>(it - keys.begin());
}

void ClearStoredIdbRows() {
    g_BlockTables.m_arrStoredRowKeys[0].clear();
    g_BlockTables.m_arrStoredRowKeys[1].clear();
}
