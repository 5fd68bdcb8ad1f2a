#pragma once
// Hands the port-settings screens to the main window and the newer block editor.
struct FrameServices;
struct NewBlockExServices;

// Fills FrameServices::plcAdvanceSetting (PLC1's advance settings),
// FrameServices::communicationSettingSheet and NewBlockExServices::plcPortSetting.
void WirePortSettingsScreens(FrameServices& frame, NewBlockExServices& editor);
