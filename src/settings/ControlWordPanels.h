#pragma once
// The two address panels that both control-word dialogs share: PLC1 (the PLC on COM1)
// and PLC2 (the PLC on COM2). In a panel the user picks a register from the register
// list and gives its address in up to three part fields (number, colon and slash part),
// typed or stepped with the "+" and "-" buttons. Typing keeps only the characters of the
// register's number system, leaving a field pads it with zeros and pulls it into the
// register's limits, a step past a limit lands on a limit, and every change composes the
// panel's address text and the summary line that the dialog's OK stores, as the mode
// (control word or error bits) and the side (Com1 or Com2) ask.
//
// The older dialog (template 139) and the newer one (template 323) differ in a few
// places, which this class decides by the template: the newer dialog's error bits in word
// registers carry a bit number ("D0100_5"), shown in bit fields that take the place of a
// part field, and only the older one marks its block list as edited.
#include <string>

#include "ui/Dialog.h"

class CControlWordPanels : public ui::Dialog {
public:
    // 1: the control word; any other value (the opener sets 2): the error-indication bits.
    int m_nMode = 1;
    // The side radio group "Com1" / "Com2": 0 Com1, 1 Com2, -1 neither button set.
    int m_nSide = -1;

    // The controls of panel 1 (PLC1) or 2 (PLC2).
    struct PanelIds {
        int list, range, address, errorBit;
        int field[3], up[3], down[3];
        int bit[2], bitUp[2], bitDown[2];  // newer dialog: second and third slot
    };

    const ui::HandlerTable* GetHandlerTable() const override;

    // m_nSide from the radio group (save) or into it.
    void DoDataExchange(bool save);
    void UpdateData(bool save) { DoDataExchange(save); }

    // Typing in a part field, and leaving it.
    void OnChangeNumberPlc1();
    void OnChangeColonPlc1();
    void OnChangeSlashPlc1();
    void OnChangeNumberPlc2();
    void OnChangeColonPlc2();
    void OnChangeSlashPlc2();
    void OnKillFocusNumberPlc1();
    void OnKillFocusColonPlc1();
    void OnKillFocusSlashPlc1();
    void OnKillFocusNumberPlc2();
    void OnKillFocusColonPlc2();
    void OnKillFocusSlashPlc2();

    // The step buttons and the register lists.
    void OnNumberUpPlc1();
    void OnNumberDownPlc1();
    void OnColonUpPlc1();
    void OnColonDownPlc1();
    void OnSlashUpPlc1();
    void OnSlashDownPlc1();
    void OnNumberUpPlc2();
    void OnNumberDownPlc2();
    void OnColonUpPlc2();
    void OnColonDownPlc2();
    void OnSlashUpPlc2();
    void OnSlashDownPlc2();
    void OnSelChangeRegisterPlc1();
    void OnSelChangeRegisterPlc2();

    // The side radios and the Enable boxes.
    void OnCom1();
    void OnCom2();
    void OnEnable1();
    void OnEnable2();

    // Shows the first `parts` part fields of the panel (1 to 3; any other count changes no
    // visibility) and fills all three with the selected register's lower limits.
    void FillRangePlc1(int parts) { FillRange(1, parts); }
    void FillRangePlc2(int parts) { FillRange(2, parts); }
    // Selects the first entry of the PLC1 list (side 1) or the PLC2 list (any other side)
    // that carries the register index; the selection stays when none does.
    void SelectRegisterEntry(int index, int side);

    void OnHelpInfo() override;

protected:
    CControlWordPanels(int templateId, bool newer);

    enum Part { kNumber = 0, kColon = 1, kSlash = 2 };
    enum Slot { kSecondSlot = 0, kThirdSlot = 1 };

    static const PanelIds& Ids(int panel);

    // The register of the panel's selected list entry, -1 when none is selected.
    int SelectedRegister(int panel) const;
    // Register data of the panel's port ("" for an index outside the tables).
    std::string RegisterName(int panel, int r) const;
    std::string Prefix(int panel, int r) const;
    int Kind(int panel, int r) const;
    std::string LowerLimit(int panel, int r, int part) const;
    std::string UpperLimit(int panel, int r, int part) const;
    static int AddressForm(int panel);  // the PLC's NoOfByte
    static std::string PlcName(int panel);
    // Whether the part's lower limit is one of the marks "**", "A*" and "P*": the part has
    // no number of its own.
    bool IsMarkPart(int panel, int r, int part) const;
    // The prefix followed by the formatted parts (a part with a mark gives its mark).
    std::string Compose(int panel, int r, const std::string& number, const std::string& colon,
                        const std::string& slash) const;
    std::string LowestAddress(int panel, int r) const;
    std::string RangeText(int panel, int r) const;
    std::string NumberPart(int panel, const std::string& address, int r) const;
    std::string ColonPart(int panel, const std::string& address, int r) const;
    std::string SlashPart(int panel, const std::string& address, int r) const;

    // Fills the panel's list with the registers of the given kinds (-1: none), in table
    // order; when it got an entry, selects the first, shows `parts` part fields, runs the
    // selection change and shows that register's range and lowest address. Returns the
    // number of entries.
    int FillPanel(int panel, int parts, int kind1, int kind2 = -1);
    // A stored address on its panel: selects its register (found by prefix), runs the
    // selection change and puts the address's parts into the part fields (the control
    // word: the number part for address form 1, the colon and number part for form 3;
    // an error bit: all three parts for forms 1 to 3; a part with a mark keeps it). A
    // register of the list's kinds that the list left out is put into it, so that the
    // address opens under its own register. Returns the register, -1 when no register of
    // the panel's port has the address's prefix, the register is of a kind the list does
    // not hold, or the list is empty; then the panel is left as it is.
    int LoadStoredAddress(int panel, const std::string& address, bool errorBit);
    // The step buttons' and the Ok and Cancel buttons' bitmaps.
    void GiveBitmaps();
    // The three summary addresses are drawn in blue.
    void ColourSummaries();

    // Bit groups of the newer dialog: a bit field with its two step buttons.
    void ShowBitGroup(int panel, int slot, bool show);
    void HideBitGroups(int panel);
    // Shows the bit group that has room beside the part fields shown: the second slot when
    // the colon part is hidden, the third when the colon part is shown and the slash part
    // hidden, none when all three are shown.
    void PlaceBitGroups(int panel);
    // The bit field whose number the address carries (the one PlaceBitGroups shows).
    int BitField(int panel) const;

    // Whether the project file can hold the address that OK is about to store: its address
    // fields are of a fixed width, and a longer address would open as another one (or not
    // at all). When it cannot, says so, naming the address; OK then stores nothing and the
    // dialog stays open.
    static bool ProjectCanHold(const std::string& address);

    void SetFlagsAfterEdit();
    bool SideIsPanel(int panel) const { return panel == 1 ? m_nSide == 0 : m_nSide != 0; }
    bool IsShown(int id) const;

    const bool m_bNewer;
    // The register kinds each panel's list holds (FillPanel; -1: none).
    int m_nListKinds[2][2] = {{-1, -1}, {-1, -1}};

private:
    void FillRange(int panel, int parts);
    void ChangePart(int panel, Part part);
    void LeavePart(int panel, Part part);
    void StepPart(int panel, Part part, bool up);
    void SelChangeRegister(int panel);
    int PartRadix(int panel, int r, int part) const;
    std::string HeldInLimits(int panel, int r, int part, const std::string& text) const;
};
