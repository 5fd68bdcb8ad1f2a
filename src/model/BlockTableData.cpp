#include "model/BlockTableData.h"

CBlockTableData g_BlockTables;
std::vector<IdbPaneRow> g_IdbPaneRows[2];
IdbEntries g_IdbEntries;

namespace {
std::function<void(int)> g_idbRowsObserver;
}

void SetIdbRowsObserver(std::function<void(int port)> observer) { g_idbRowsObserver = std::move(observer); }

void IdbRowsChanged(int port) {
    if (g_idbRowsObserver) g_idbRowsObserver(port);
}
IdbPortSwitches g_IdbSwitches;

CBlockTableData::CBlockTableData() {
    for (int r = 0; r < kRows; ++r) {
        m_anCom1FailValue[r] = m_anCom2FailValue[r] = 65535;
        m_anCom1SkipOnFail[r] = m_anCom2SkipOnFail[r] = 2;
    }
}

int CBlockTableData::ClearTables() {
    m_arrBlockNo.clear();
    m_arrCom1Address.clear();
    m_arrCom2Address.clear();
    m_arrCom1Station.clear();
    m_arrCom2Station.clear();
    m_arrWordCount.clear();
    return 0;
}
