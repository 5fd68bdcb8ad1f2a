#include "app/ProjectInfoDlg.h"

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "res/ShellResource.h"
#include "ui/Backend.h"

CProjectInfoDlg::CProjectInfoDlg(ui::Window* parent) : ui::Dialog(IDD_PROJECT_INFO, parent) {}

const ui::HandlerTable* CProjectInfoDlg::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::Cancelling(ui::On(ui::Notify::Clicked, IDC_PROJECT_INFO_CANCEL, &CProjectInfoDlg::OnCancelButton)),
    });
    return &table;
}

bool CProjectInfoDlg::OnInitDialog() {
    m_strCallerTopic = g_szHelpTopic;
    g_szHelpTopic = "projectinfo.htm";
    m_strCom1Protocol = g_PlcRegisterTables.g_strPLC1Name;
    m_strCom1Model = g_PlcRegisterTables.g_strPlc1Section;
    m_strCom2Protocol = g_PlcRegisterTables.g_strPLC2Name;
    m_strCom2Model = g_PlcRegisterTables.g_strPlc2Section;
    m_strProjectPath = g_ProjectSettings.g_strProjPath;
    m_strAuthor = g_ProjectSettings.g_strProjAuthor;
    m_strTitle = g_ProjectSettings.g_strProjTitle;
    m_strDescription = g_ProjectSettings.g_strProjDescription;
    m_strCreated = g_ProjectSettings.g_strProjCreated;
    m_strModified = g_ProjectSettings.g_strProjModified;

    SetDlgItemText(IDC_COM1_PROTOCOL, m_strCom1Protocol);
    SetDlgItemText(IDC_COM1_MODEL, m_strCom1Model);
    SetDlgItemText(IDC_COM2_PROTOCOL, m_strCom2Protocol);
    SetDlgItemText(IDC_COM2_MODEL, m_strCom2Model);
    SetDlgItemText(IDC_PROJECT_PATH, m_strProjectPath);
    SetDlgItemText(IDC_PROJECT_AUTHOR, m_strAuthor);
    SetDlgItemText(IDC_PROJECT_TITLE, m_strTitle);
    SetDlgItemText(IDC_PROJECT_DESCRIPTION, m_strDescription);
    SetDlgItemText(IDC_PROJECT_CREATED, m_strCreated);
    SetDlgItemText(IDC_PROJECT_MODIFIED, m_strModified);
    Item(IDC_PROJECT_AUTHOR).LimitText(kMaxAuthor);
    Item(IDC_PROJECT_TITLE).LimitText(kMaxTitle);
    Item(IDC_PROJECT_DESCRIPTION).LimitText(kMaxDescription);
    return true;
}

void CProjectInfoDlg::OnOK() {
    // The length check of each text: a longer one is refused and gets the focus.
    const struct {
        int id;
        int max;
    } limits[] = {{IDC_PROJECT_AUTHOR, kMaxAuthor},
                  {IDC_PROJECT_TITLE, kMaxTitle},
                  {IDC_PROJECT_DESCRIPTION, kMaxDescription}};
    for (const auto& l : limits) {
        if (int(GetDlgItemText(l.id).size()) > l.max) {
            ui::MessageBox("Enter no more than " + std::to_string(l.max) + " characters.", "",
                           ui::MB_OK | ui::MB_ICONEXCLAMATION);
            GotoDlgCtrl(l.id);
            return;
        }
    }
    m_strAuthor = GetDlgItemText(IDC_PROJECT_AUTHOR);
    m_strTitle = GetDlgItemText(IDC_PROJECT_TITLE);
    m_strDescription = GetDlgItemText(IDC_PROJECT_DESCRIPTION);
    g_ProjectSettings.g_strProjAuthor = m_strAuthor;
    g_ProjectSettings.g_strProjTitle = m_strTitle;
    g_ProjectSettings.g_strProjDescription = m_strDescription;
    g_bBlockListEdited = 1;
    g_bProjectModified = 1;
    EndDialog(ui::IDOK);
}

void CProjectInfoDlg::OnCancel() { EndDialog(ui::IDCANCEL); }

void CProjectInfoDlg::OnDestroy() { g_szHelpTopic = m_strCallerTopic; }

void CProjectInfoDlg::OnHelpInfo() { ui::ShowHelp(); }
