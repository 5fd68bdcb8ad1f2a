#include "app/VersionMismatchDlg.h"

#include "model/RunTimeState.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "plc/DefinitionFiles.h"
#include "res/ShellResource.h"
#include "ui/Backend.h"

namespace {
// Product names are read whole: a name cut short would name no folder.
constexpr size_t kNameBuffer = 4096;
}  // namespace

CVersionMismatchDlg::CVersionMismatchDlg(ui::Window* parent)
    : ui::Dialog(IDD_VERSION_MISMATCH, parent) {}

const ui::HandlerTable* CVersionMismatchDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::SelChange, IDC_PRODUCT_LIST, &CVersionMismatchDlg::OnSelchangeProductList),
        ui::On(ui::Notify::DblClk, IDC_PRODUCT_LIST, &CVersionMismatchDlg::OnDblclkProductList),
    });
    return &table;
}

bool CVersionMismatchDlg::OnInitDialog() {
    m_strProduct.clear();
    g_szVersionProduct.clear();
    const std::string file = deffiles::ProductsInf();
    const int count = platform::BoundedCount(
        platform::Atoi(deffiles::ReadText(file, "ProductList", "ProductCount", deffiles::kCorruptPlcFile)),
        platform::kMaxListCount, file, "ProductCount");
    auto& list = Item<ui::ListBox>(IDC_PRODUCT_LIST);
    for (int n = 1; n <= count; ++n)
        list.AddString(deffiles::ReadText(file, "ProductList", deffiles::NumberedKey("Product", n),
                                          "1", kNameBuffer));
    return true;
}

void CVersionMismatchDlg::OnSelchangeProductList() {
    auto& list = Item<ui::ListBox>(IDC_PRODUCT_LIST);
    m_strProduct = list.GetText(list.GetCurSel());
    g_szVersionProduct = m_strProduct;
}

void CVersionMismatchDlg::OnDblclkProductList() { OnOK(); }

void CVersionMismatchDlg::OnOK() {
    if (m_strProduct.empty()) {
        ui::MessageBox("Please select the product");
        return;
    }
    EndDialog(ui::IDOK);
}

void CVersionMismatchDlg::OnCancel() {
    // Nothing chosen reaches the caller.
    m_strProduct.clear();
    g_szVersionProduct.clear();
    EndDialog(ui::IDCANCEL);
}
