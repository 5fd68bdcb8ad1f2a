#pragma once
// The internal-database pane of COM2 (splitter row 2, right column). A COM2 side on a CAN
// bus shows parameter groups instead of registers; the pane decides its layout each time
// it is set up.
#include "tables/IdbPane.h"

class DBViewClass2 : public IdbPane {
public:
    static constexpr int kRows = 255;

    DBViewClass2();
    ~DBViewClass2() override;

    void OnInitialUpdate() override;
    // Removes every column of the list; the pane's initial update builds them again.
    void ResetColumns();
    int FillRow(int row, const std::string& address) override;
    void ShowModelRows() override;
    void EditCell(int row, int col) override;
    std::string BoolToYesText(int value) const override;
    // 1 "Input", 2 "Output", other codes the empty text.
    static std::string DirectionCodeToText(int code);
    // PGN text -> the group's length from the product's PGNLength.inf (0 when it is no
    // number); notes in m_bPgnLengthVariable whether the length is "variable".
    int LookupPGNLength(const std::string& pgn);
    // Whether the list shows the parameter-group columns.
    bool IsCanLayout() const { return m_bCanLayout; }

    CIDBCellEdit2 m_editCell;
    int m_bPgnLengthVariable = 0;
    int m_abVariableLengthRow[kRows] = {};
    CIDBCellCombo2 m_comboCell;

private:
    void FillCanRow(int row, const std::string& pgn);
    // Whether the group of a row has a variable length, which the user then gives.
    void NoteVariableLength(int row);
    bool m_bCanLayout = false;
};

// The COM2 pane while it exists, else null.
extern DBViewClass2* g_pDBView2;
