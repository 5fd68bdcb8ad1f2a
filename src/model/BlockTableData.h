#pragma once
// The working store between the newer block list and the internal-database panes and
// images: for one pass of saving or compiling, the blocks regrouped by port, and the
// per-row settings of both internal-database panes.
#include <array>
#include <functional>
#include <string>
#include <vector>

// The nine cells of a row of an internal-database pane: 0 the label, 1 node, 2 starting
// address, 3 data type, 4 words, 5 scaling factor, 6 skip count, 7 skip on failure, 8 fail
// value (the CAN layout of COM2 keeps its own meanings at the same positions).
using IdbPaneRow = std::array<std::string, 9>;

class CBlockTableData {
public:
    static constexpr int kRows = 255;

    CBlockTableData();
    virtual ~CBlockTableData() = default;

    // Empties the six block lists; the per-row settings stay.
    int ClearTables();

    std::vector<std::string> m_arrBlockNo;
    std::vector<std::string> m_arrWordCount;
    std::vector<std::string> m_arrCom1Address;
    std::vector<std::string> m_arrCom2Address;
    std::vector<std::string> m_arrCom1Station;
    std::vector<std::string> m_arrCom2Station;
    int m_anCom1FailValue[kRows];
    int m_anCom2FailValue[kRows];
    int m_anCom1SkipOnFail[kRows];  // 2: not set yet
    int m_anCom2SkipOnFail[kRows];
    int m_anCom2Column5[kRows] = {};
    int m_anCom1DataType[kRows] = {};
    int m_anCom2DataType[kRows] = {};
    std::vector<std::string> m_arrCom2RowText;  // set at the row's index
    // Per port, the node and starting address of each row whose choices the settings
    // above hold (at the row's index).
    std::vector<std::string> m_arrStoredRowKeys[2];
};

// One address that enters a port's internal database.
struct IdbEntry {
    std::string address;
    std::string station;
    std::string words;
};

struct IdbEntries {
    std::vector<IdbEntry> com1, com2;
    // The register kind of each row's COM1-side and COM2-side address (0 where the port
    // keeps no internal database).
    std::vector<int> kindCom1, kindCom2;
};

// Whether each port's PLC keeps an internal database and how many words one of its rows holds.
struct IdbPortSwitches {
    int m_bIdbCom1 = 0;
    int m_bIdbCom2 = 0;
    int m_nIdbLimitCom1 = 10;
    int m_nIdbLimitCom2 = 10;
};
extern IdbPortSwitches g_IdbSwitches;

extern CBlockTableData g_BlockTables;

// The open project's internal-database rows of COM1 and COM2: the panes show them and
// write their edits into them; the image files are written from them and read into them.
extern std::vector<IdbPaneRow> g_IdbPaneRows[2];
// The entries of the last derivation of both ports.
extern IdbEntries g_IdbEntries;

// The screen that shows the internal-database rows is told when a port's rows were made
// anew (port 0: both): derived, loaded, or emptied with the project.
void SetIdbRowsObserver(std::function<void(int port)> observer);
void IdbRowsChanged(int port);
