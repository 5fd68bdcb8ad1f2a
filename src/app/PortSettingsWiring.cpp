#include "app/PortSettingsWiring.h"

#include "app/MainFrame.h"
#include "app/ShellHelp.h"
#include "editor/NewBlockExView.h"
#include "settings/PLCSheet.h"
#include "settings/PlcAdvanceSettingDlg.h"
#include "settings/PlcPortSettingDlg.h"

void WirePortSettingsScreens(FrameServices& frame, NewBlockExServices& editor) {
    // The frame's command names no port: it opens PLC1's advance settings, with the block
    // list's help as the table screens have it.
    frame.plcAdvanceSetting = [] {
        RunWithHelpTopic(kBlockListHelpTopic, [] {
            CPlcAdvanceSettingDlg dlg;
            dlg.m_nPort = 1;
            dlg.DoModal();
        });
    };
    frame.communicationSettingSheet = [] { RunCommunicationSettingSheet(); };
    editor.plcPortSetting = [](int port) {
        CPlcPortSettingDlg dlg;
        dlg.m_nSide = port == 1 ? 1 : 2;
        dlg.DoModal();
    };
}
