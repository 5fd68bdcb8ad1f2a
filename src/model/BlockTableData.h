#pragma once
// The working store between the newer block list and the internal-database panes and
// images: for one pass of saving or compiling, the blocks regrouped by port, and the
// per-row settings of both internal-database panes.
#include <string>
#include <vector>

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
};

extern CBlockTableData g_BlockTables;
