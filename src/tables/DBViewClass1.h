#pragma once
// The internal-database pane of COM1 (splitter row 1, right column).
#include "tables/IdbPane.h"

class DBViewClass1 : public IdbPane {
public:
    DBViewClass1();
    ~DBViewClass1() override;

    void OnInitialUpdate() override;
    int FillRow(int row, const std::string& address) override;
    // A press on the pane repaints all of it.
    void OnLButtonDown(int x, int y) override;
    const ui::HandlerTable* GetHandlerTable() const override;

    CIDBCellCombo1 m_comboCell;
    CIDBCellEdit1 m_editCell;
};

// The COM1 pane while it exists, else null.
extern DBViewClass1* g_pDBView1;
