#pragma once
// The older products' screens as the main window reaches them: the project reader, the
// three-port product's reader, the older case of the save on closing, and the older
// transfer dialog from Upload Project and from the three-port product's sheet.
struct FrameServices;
struct NewBlockExServices;
class CDownloadDlg;

void WireOlderScreens(FrameServices& frame, NewBlockExServices& editor);
// What the older transfer dialog needs of the frame and the older block list.
void WireDownloadDialog(CDownloadDlg& dialog);
