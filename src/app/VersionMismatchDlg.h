#pragma once
// Asks for the product of a project that an older version of the program wrote.
// The caller tests DoModal for IDOK and then reads g_szVersionProduct.
#include <string>

#include "ui/Dialog.h"

class CVersionMismatchDlg : public ui::Dialog {
public:
    explicit CVersionMismatchDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    std::string m_strProduct;  // the chosen product, of any length

private:
    void OnSelchangeProductList();
    void OnDblclkProductList();
};
