#pragma once
// The in-place controls of the newer block list: the one-line edit and the drop-down list
// of the two PLC names that open over a clicked cell, and the two Set Address buttons over
// the address cells of the current row. Each object belongs to the view and makes and
// removes its control on the view as editing goes on.
#include <string>

#include "editor/BlockCellEditBase.h"
#include "model/BlockRows.h"
#include "ui/Types.h"

class CNewBlockExView;

class CNewBlockCellEdit : public CBlockCellEditBase {
public:
    CNewBlockCellEdit();
    void Attach(CNewBlockExView* view);

    // The longest comment a project file keeps.
    static int MaxCommentLength();

private:
    // The full form of a valid address typed for a port (register prefix, parts filled),
    // a bit after '_' kept as typed.
    static std::string FullAddress(const std::string& text, int port);
    // Digits, capitals, ':', '/' and '_'.
    bool KeepsCharacter(char ch) const override;
    void EditCell(int row, int col) override;
    void Store(std::string text) override;
    CNewBlockExView* m_pView = nullptr;
};

class CNewBlockCellCombo : public CBlockCellComboBase {
public:
    CNewBlockCellCombo();
    void Attach(CNewBlockExView* view);

private:
    void EditCell(int row, int col) override;
    // Marks the list edited, then stores the name.
    void StoreChoice(int row, int col, const std::string* name) override;
    CNewBlockExView* m_pView = nullptr;
};

// The Set Address buttons: source (over the Source / Slave Address cell) and destination
// (over the Destination / Target Address cell).
class CSourceAddrButtonNew : public CBlockAddressButton<CNewBlockExView, kColSourcePlc, kColSourceAddr> {};
class CDestAddrButtonNew : public CBlockAddressButton<CNewBlockExView, kColDestPlc, kColDestAddr> {};
