#pragma once
// The "Communication Setting" sheet of the two-master product (three ports): a General
// page that reaches the transfer dialog and saves the project, and one page per port
// ("Master 1", "Master 2", "Controller") with its serial settings and response time-out.
#include <functional>
#include <memory>
#include <string>

#include "ui/PropertySheet.h"

class CPLCSheet;

// The screen the General page hands over to that is built elsewhere: the older
// transfer dialog (the frame sets it). Its button is disabled while it is not set.
struct PlcSheetServices {
    std::function<void()> communication;  // runs the transfer dialog modally
};
extern PlcSheetServices g_PlcSheetServices;

class CPLCGeneral : public ui::PropertyPage {
public:
    CPLCGeneral();
    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnChangePlcCount();
    void OnCommunication();
    void OnSave();
};

class CPLCConfig : public ui::PropertyPage {
public:
    explicit CPLCConfig(int port);  // 1 to 3
    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    bool OnKillActive() override;
    void OnKillFocusTimeout();
    void SelectComboByData(int list, int value);

    int m_nPortIndex = 0;  // the port number less one
};

class CPLCSheet : public ui::PropertySheet {
public:
    CPLCSheet(const std::string& caption, ui::Window* parent = nullptr, int startPage = 0);
    ~CPLCSheet() override;

    void CreatePlcPages();
    // Shows the General page and port pages 1 to n (0 to 3); another n changes nothing.
    void SetPlcPageCount(int n);
    bool OnInitDialog() override;
    void OnCancel() override;

    CPLCConfig* GetPortPage(int port) const { return m_pPlcPages[port - 1].get(); }
    CPLCGeneral& GetGeneralPage() { return m_GeneralPage; }

private:
    std::unique_ptr<CPLCConfig> m_pPlcPages[3];
    CPLCGeneral m_GeneralPage;
};

// The opening of the sheet as every opener does it: caption "Communication Setting", no
// Apply button, help topic "portmultiplexer.htm", run modally.
void RunCommunicationSettingSheet();
