#pragma once
// The address dialog of the older block list: composes an address of one port from that
// port's register table. The user picks a register and edits up to three address parts
// (number, colon and slash part), each held within the register's range; OK hands the
// address shown back to the caller.
#include <string>

#include "ui/Dialog.h"

class CAddressDlg : public ui::Dialog {
public:
    explicit CAddressDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // F1 does nothing here.
    void OnHelpInfo() override {}

    std::string m_strAddress;  // the cell's address handed in
    std::string m_strResult;   // the composed address handed back
    int m_nPort = 1;           // 1: the PLC1 (COM1) table; any other value: PLC2

    void OnSelchangeRegister();
    void ShowAddressParts(int count);
    void SelectRegister(int index);
    void OnNumberUp() { StepPart(kNumber, true); }
    void OnNumberDown() { StepPart(kNumber, false); }
    void OnColonUp() { StepPart(kColon, true); }
    void OnColonDown() { StepPart(kColon, false); }
    void OnSlashUp() { StepPart(kSlash, true); }
    void OnSlashDown() { StepPart(kSlash, false); }
    void OnChangeNumberPart() { ChangePart(kNumber); }
    void OnChangeColonPart() { ChangePart(kColon); }
    void OnChangeSlashPart() { ChangePart(kSlash); }
    void OnKillfocusNumberPart() { KillfocusPart(kNumber); }
    void OnKillfocusColonPart() { KillfocusPart(kColon); }
    void OnKillfocusSlashPart() { KillfocusPart(kSlash); }

private:
    enum Part { kNumber = 0, kColon = 1, kSlash = 2 };
    int Port() const { return m_nPort == 1 ? 1 : 2; }
    int Current() const;
    // Field 1-10 of register r's record on the dialog's port ("" outside the table).
    std::string Field(int r, int field) const;
    std::string Lowest(int r, Part part) const { return Field(r, 5 + 2 * part); }
    std::string Highest(int r, Part part) const { return Field(r, 6 + 2 * part); }
    // The number mode of the register: field 3, with 5 taken as 0 unless kept.
    int Mode(int r, bool keepFive) const;
    std::string Compose(int r, const std::string& number, const std::string& colon, const std::string& slash) const;
    std::string PartText(Part part) const;
    std::string Clamp(int r, Part part, const std::string& text, int mode) const;
    void StepPart(Part part, bool up);
    void ChangePart(Part part);
    void KillfocusPart(Part part);
    void ShowComposedWith(Part part, const std::string& text);
};
