#pragma once
// The control word and the error-indication bits of a project of the older editor
// generation (template 139). Mode 1: one word register of the PLC on COM1 or on COM2
// whose bits switch the transfer blocks on and off, with its enable flag. Mode 2: one bit
// in the COM1 PLC that the unit sets on an error at the COM2 end and one in the COM2 PLC
// for the COM1 end, each with its enable flag. "&Ok" stores what the summary lines show;
// "&Cancel", Enter and Esc store nothing.
#include "settings/ControlWordPanels.h"

class CControlWordDlg : public CControlWordPanels {
public:
    explicit CControlWordDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    // Command 1 is the "&Cancel" button (the default button, so Enter too).
    void OnOK() override { EndDialog(ui::IDCANCEL); }

    void OnOk();  // "&Ok"

private:
    void InitControlWord();
    void InitErrorBits();
};
