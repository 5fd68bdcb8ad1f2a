#pragma once
// The in-place controls of the older block list: the edit and the drop-down list of the
// two PLC names that open over a clicked cell, and the two address buttons in the right
// edge of the edited row's address cells. Each object belongs to the view and makes and
// removes its control on the view as editing goes on.
#include <string>

#include "editor/BlockCellEditBase.h"
#include "model/BlockRows.h"
#include "ui/Types.h"

class CBlockExView;

class CBlockCellEdit : public CBlockCellEditBase {
public:
    CBlockCellEdit();
    void Attach(CBlockExView* view);

    // The canonical form of an address of a register of the port: lowest-width number
    // part, filled colon and slash parts (the text unchanged when no register matches).
    static std::string CanonicalAddress(const std::string& text, int port) { return CompleteAddress(text, port); }

private:
    // Digits, capitals, ':' and '/'.
    bool KeepsCharacter(char ch) const override;
    void EditCell(int row, int col) override;
    void Store(std::string text) override;
    CBlockExView* m_pView = nullptr;
};

class CBlockCellCombo : public CBlockCellComboBase {
public:
    CBlockCellCombo();
    void Attach(CBlockExView* view);

private:
    void EditCell(int row, int col) override;
    void StoreChoice(int row, int col, const std::string* name) override;
    CBlockExView* m_pView = nullptr;
};

// The address buttons: source (column 4) and destination (column 7).
class CSourceAddrButton : public CBlockAddressButton<CBlockExView, kOlderColSourcePlc, kOlderColSourceAddr> {};
class CDestAddrButton : public CBlockAddressButton<CBlockExView, kOlderColDestPlc, kOlderColDestAddr> {};
