#pragma once
// "Hardware Test": the loop-back test of one unit port at one signal level. The engineer
// picks the port under test (the PC cable goes to the other) and the level, shorts the
// pins the dialog names, and starts; each test adds one line to the results. The exchange
// is link/HardwareTest's on the PC port g_strPcComPort.
#include <memory>
#include <string>

#include "link/HardwareTest.h"
#include "ui/Backend.h"
#include "ui/Dialog.h"

class CHardwareTestDlg : public ui::Dialog, public IHardwareTestReporter {
public:
    explicit CHardwareTestDlg(ui::Window* parent = nullptr);
    ~CHardwareTestDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnHelpInfo() override;
    void OnPort1();
    void OnPort2();
    void OnLevelRs232();
    void OnLevelRs422();
    void OnLevelCmos();
    void OnStartTest();
    void OnHelpButton();

    void RunLoopBackTest();
    int CompareEcho();
    std::string ResultText(bool failed) const;

    // IHardwareTestReporter: the dialog's controls.
    int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
    void SetSentText(const std::string& text) override;
    void EnableButtons(bool enable) override;
    void BeginWaitCursor() override;

    int m_nLineIndex = 0;

private:
    void PortChosen(const char* cableText);
    void LevelChosen(const char* port1Text, const char* port2Text);
    void AddLine(const std::string& text);
    void EndTest();

    std::string m_strSent;
    std::string m_strReceived;
    CHardwareTest m_test;
    std::unique_ptr<ui::WaitCursor> m_pWaitCursor;
};
