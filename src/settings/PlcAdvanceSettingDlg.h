#pragma once
// PLC Advance Setting: up to three protocol values of one port, within the limits its PLC
// definition file gives ("SpecialData" and the "Sp" records), and the way to the port's
// Extended Setup values.
#include "ui/Dialog.h"

class CPlcAdvanceSettingDlg : public ui::Dialog {
public:
    explicit CPlcAdvanceSettingDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnExtendedSetup();

    int m_nPort = 1;  // 1 PLC1 (Com1); any other value PLC2 (Com2)

private:
    int Port() const { return m_nPort == 1 ? 1 : 2; }
    int SpecialDataCount() const;
    bool IsValue1Boolean() const;
};
