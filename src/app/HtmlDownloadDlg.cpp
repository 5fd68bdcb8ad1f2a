#include "app/HtmlDownloadDlg.h"

#include "app/RefreshDlg.h"
#include "model/RunTimeState.h"
#include "res/ToolsResource.h"
#include "ui/Backend.h"

namespace {
constexpr int kComPorts = 10;
}  // namespace

CHtmlDownloadDlg::CHtmlDownloadDlg(ui::Window* parent, const std::string& logPath)
    : ui::Dialog(res::ToolsDialogTemplate(IDD_HTML_DOWNLOAD), parent), m_download(m_port, *this, logPath) {
    m_port.SetReporter(this);
}

CHtmlDownloadDlg::~CHtmlDownloadDlg() { m_port.SetReporter(nullptr); }

const ui::HandlerTable* CHtmlDownloadDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(ui::Notify::Clicked, IDC_WEB_DOWNLOAD, &CHtmlDownloadDlg::OnDownload),
        ui::On(ui::Notify::SelChange, IDC_WEB_COM_PORT, &CHtmlDownloadDlg::OnSelchangePort),
    });
    return &table;
}

bool CHtmlDownloadDlg::OnInitDialog() {
    auto& ports = Item<ui::ListControl>(IDC_WEB_COM_PORT);
    ports.ResetContent();
    for (int n = 1; n <= kComPorts; ++n) ports.AddString("COM" + std::to_string(n));
    ports.SetCurSel(0);
    m_strPortName = GetDlgItemText(IDC_WEB_COM_PORT);
    if (CHtmlDownload::HasWideLengths(g_nDeviceId)) {
        Item(IDC_WEB_PROGRESS).SetRange(0, 100);
        m_types = CHtmlDownload::WideTypes();
    }
    return true;
}

void CHtmlDownloadDlg::OnOK() {
    m_port.Close();
    m_types.clear();
    EndDialog(ui::IDOK);
}

void CHtmlDownloadDlg::OnSelchangePort() { m_strPortName = GetDlgItemText(IDC_WEB_COM_PORT); }

void CHtmlDownloadDlg::OnDownload() {
    m_strPortName = GetDlgItemText(IDC_WEB_COM_PORT);
    const std::string folder = CHtmlDownload::WebFolder(g_nDeviceId, g_szProductName);
    if (CHtmlDownload::HasNarrowLengths(g_nDeviceId)) m_types = CHtmlDownload::NarrowTypes(folder);
    switch (m_download.Run(m_strPortName, g_nDeviceId, folder, m_types)) {
    case CHtmlDownload::Result::Done: EndDialog(ui::IDOK); break;
    case CHtmlDownload::Result::TooLarge: EndDialog(0); break;
    default: break;
    }
}

int CHtmlDownloadDlg::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    return ui::MessageBox(text, caption, flags);
}

void CHtmlDownloadDlg::SetProgressPos(int position) { Item(IDC_WEB_PROGRESS).SetPos(position); }
void CHtmlDownloadDlg::SetStatusText(const std::string& text) { SetDlgItemText(IDC_WEB_STATUS, text); }
void CHtmlDownloadDlg::SetFileName(const std::string& name) { SetDlgItemText(IDC_WEB_FILE_NAME, name); }
void CHtmlDownloadDlg::PumpMessages() {
    // The self-ending refresh dialog lets the waiting window events through.
    if (!IsCreated()) return;
    CRefreshDlg refresh(this);
    refresh.DoModal();
}
