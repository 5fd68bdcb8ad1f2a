#pragma once
// Opening a project file of the older products into the frame: the older block list, or
// the three-port product's "Communication Setting" sheet.
#include <string>

class CMainFrame;

// Opens an older project (the frame's reader of the older products).
void OpenOlderProjectFile(CMainFrame& frame, const std::string& path);
// Opens a project of the three-port product into its "Communication Setting" sheet.
void CheckZavaProjectProduct(CMainFrame& frame, const std::string& path);
