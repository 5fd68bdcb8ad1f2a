#pragma once
// Opening a project file of the older products into the model: the older block list's
// rows, or the three-port product's settings for its "Communication Setting" sheet. The
// file is read and checked whole before anything of the open project changes.
#include <string>

#include "projectfiles/ProjectFileReader.h"

// Opens an older project: settings, PLC register tables and the older block list's rows.
// NewerEditor: the file's product keeps its projects in the newer editor (the product is
// already the chosen one); ThreePort: the three-port product is chosen.
ProjectOpenResult OpenOlderProject(const std::string& path, const ProjectOpenHooks& hooks);

// Opens a project of the three-port product: its three ports' settings. showSheet: the
// sheet is shown after, whether the file opened or not (false only where the file
// belongs to another product or to no known PLC, or the product question was declined).
ProjectOpenResult OpenThreePortProject(const std::string& path, const ProjectOpenHooks& hooks, bool& showSheet);
