#pragma once
// Project Information: the two protocols and models, the project's path and time
// stamps, and its author, title and description, which the user may edit.
#include <string>

#include "ui/Dialog.h"

class CProjectInfoDlg : public ui::Dialog {
public:
    explicit CProjectInfoDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    void OnHelpInfo() override;

    std::string m_strCom1Protocol, m_strCom1Model, m_strCom2Protocol, m_strCom2Model;
    std::string m_strProjectPath, m_strAuthor, m_strTitle, m_strDescription;
    std::string m_strCreated, m_strModified;

    static constexpr int kMaxAuthor = 100;
    static constexpr int kMaxTitle = 100;
    static constexpr int kMaxDescription = 500;

private:
    void OnCancelButton() { OnCancel(); }
    std::string m_strCallerTopic;
};
