#pragma once
// The register address dialog: composes one PLC address of one port from that port's
// register types. The user picks a register type, edits up to three address parts in the
// type's number system (each held between the type's lowest and highest text) and, for
// word registers, a bit number 0-15; OK hands the address shown back to the caller.
#include <string>

#include "ui/Dialog.h"

class CRegisterAddressDlg : public ui::Dialog {
public:
    explicit CRegisterAddressDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    std::string m_strRecipeAddress;  // the result while the recipe table is open
    std::string m_strAddress;        // the caller's address text (may be empty)
    std::string m_strNewAddress;     // the result for the block list
    int m_nPort = 0;                 // 1: PLC1 (COM1 tables); any other value: PLC2

    // The selection-change routine: shows register type r's parts, range, access and
    // lowest address (also run by the initialisation).
    void OnSelchangeRegister();

    // Part editing.
    void OnChangeNumberPart();
    void OnChangeColonPart();
    void OnChangeSlashPart();
    void OnKillfocusNumberPart();
    void OnKillfocusColonPart();
    void OnKillfocusSlashPart();
    void OnNumberPartUp();
    void OnNumberPartDown();
    void OnColonPartUp();
    void OnColonPartDown();
    void OnSlashPartUp();
    void OnSlashPartDown();
    // Bit addressing.
    void OnChangeBit();
    void OnChangeBit2();
    void OnChangeBit3();
    void OnKillfocusBit();
    void OnKillfocusBit2();
    void OnKillfocusBit3();
    void OnBitUp();
    void OnBitDown();
    void OnBit2Up();
    void OnBit2Down();
    void OnBit3Up();
    void OnBit3Down();
    void OnRegisterRadio();
    void OnBitAddressedRadio();

    static int NextBitNumber(const std::string& bit);
    static int PrevBitNumber(const std::string& bit);

private:
    enum Part { kNumber = 0, kSecond = 1, kThird = 2 };
    enum class NumberSystem { Decimal, Hexadecimal, Octal, None };

    void OnUserSelchangeRegister();
    void SelectRegister(int r);
    void ShowPartEdits(int r);
    void ApplyRegisterKind(int kind, std::string text);
    void HideBitControls();
    void ShowBitEdit();

    int Port() const { return m_nPort == 1 ? 1 : 2; }
    int Current() const;  // the selected register type
    // Field 1-10 of register type r's record on the dialog's port.
    std::string Field(int r, int field) const;
    bool HasSecondPart(int r) const;
    bool HasThirdPart(int r) const;
    std::string LowestAddress(int r) const;
    std::string RangeText(int r) const;

    NumberSystem SystemOf(int r, Part part) const;
    static int ConverterCode(NumberSystem system);
    static bool Allowed(char ch, NumberSystem system);
    std::string Lowest(int r, Part part) const;
    std::string Highest(int r, Part part) const;
    std::string HoldInRange(int r, Part part, const std::string& text) const;
    static int EditOf(Part part);

    // The bit edit that follows the part edits shown, and the one in use for r.
    int BitEditAfterShownParts() const;
    int BitEditInUse(int r) const;
    void ShowOnlyBitEdit(int edit, const std::string& text);

    void RebuildAddress(Part part, const std::string& partText);
    void ChangePart(Part part);
    void KillfocusPart(Part part);
    void StepPart(Part part, bool up);
    void ChangeBit(int edit);
    bool CheckBit(int edit);
    void StepBit(int edit, bool up);
    bool IsShown(int id) const;
};

// 1 while the address being built carries a bit number.
extern unsigned g_bBitAddressMode;

// Runs the dialog for the recipe grid's address button: over the parent, for the port,
// starting from the address; true with the address picked, false when cancelled.
bool PickRecipeAddress(ui::Dialog& parent, int port, const std::string& address, std::string& picked);
