#pragma once
// The saves of the newer project as the model holds it: the .prj with its sections and
// both internal-database files in one replace, the databases derived again where the blocks
// or the control word changed, with or without a window. false when nothing reached the
// disk (the reason was shown; the project stays modified). The first save of an untitled
// project, a save over the project's own file, and Save As.
#include <string>

bool SaveNewerProjectFirst(const std::string& path);
bool SaveNewerProject();
bool SaveNewerProjectAs(const std::string& path);
// Yes to the question on Close: the project over its own file, its databases derived again.
bool SaveNewerProjectOnClose();
// The save of the main window's close: the project to path, its sections as they stand,
// then its databases derived from the blocks.
bool SaveNewerProjectOnFrameClose(const std::string& path);
