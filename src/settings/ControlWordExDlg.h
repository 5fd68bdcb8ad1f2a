#pragma once
// The control word and the error-indication bits of a project of the newer editor
// generation (template 323). Mode 1: one word register of the PLC on COM1 or on COM2
// whose bits switch the transfer blocks on and off, with its enable flag, the station ID
// of the device that holds it and its number of words. Mode 2: one bit in the COM1 PLC
// that the unit sets on an error at the COM2 end and one in the COM2 PLC for the COM1
// end, each with its enable flag; a bit is a coil address or a word register address with
// a bit number 0 to 15, shown as "D0100_5". "&Ok" stores what the summary lines show and
// tells the save and download paths that the control word was confirmed; "&Cancel" and
// Enter store nothing and take that back; Esc and the close box only close.
#include <string>

#include "model/RunTimeState.h"
#include "settings/ControlWordPanels.h"

class CControlWordExDlg : public CControlWordPanels {
public:
    explicit CControlWordExDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;

    void OnOkButton();      // "&Ok"
    void OnCancelButton();  // command 1: "&Cancel", and Enter
    void OnKillFocusStationId();
    void OnKillFocusWords();
    // The four bit groups' fields and buttons (the event names the control).
    void OnBitPlus(const ui::Event& e);
    void OnBitMinus(const ui::Event& e);
    void OnChangeBit(const ui::Event& e);
    void OnKillFocusBit(const ui::Event& e);

    // The bit number after / before the text's: 15 goes round to 0 and 0 to 15.
    static int NextBitNumber(const std::string& text);
    static int PrevBitNumber(const std::string& text);

private:
    void InitControlWord();
    void InitErrorBits();
    void StepBit(int field, bool up);
    // The panel and its bit field of a bit group's field or button; 0 when none.
    static int BitGroupPanel(int id, int& field);
};

