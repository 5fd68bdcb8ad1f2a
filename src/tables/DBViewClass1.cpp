#include "tables/DBViewClass1.h"

#include "res/TablesResource.h"

DBViewClass1* g_pDBView1 = nullptr;

DBViewClass1::DBViewClass1() : IdbPane(1), m_comboCell(*this), m_editCell(*this) {
    SetEditors(&m_comboCell, &m_editCell);
    g_pDBView1 = this;
}

DBViewClass1::~DBViewClass1() {
    if (g_pDBView1 == this) g_pDBView1 = nullptr;
}

const ui::HandlerTable* DBViewClass1::GetHandlerTable() const {
    static const ui::HandlerTable table(IdbPane::GetHandlerTable(), {
        ui::On(ui::Notify::KeyDown, IDC_IDB_CELL_COMBO, &DBViewClass1::OnComboKeyDown),
    });
    return &table;
}

void DBViewClass1::OnInitialUpdate() {
    IdbPane::OnInitialUpdate();
    if (List().GetColumnCount() == 0) InsertNormalColumns("IDB FOR COM1");
}

int DBViewClass1::FillRow(int row, const std::string& address) {
    FillNormalRow(row, address);
    return 0;
}

void DBViewClass1::OnLButtonDown(int x, int y) {
    Invalidate();
    IdbPane::OnLButtonDown(x, y);
}
