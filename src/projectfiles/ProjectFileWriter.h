#pragma once
// Writing a project of the newer generation: the fixed part, the block rows and the
// project texts, then the optional feature sections after them.
#include "model/BlockRows.h"
#include "platform/Files.h"

#include <string>

// The fixed part, rows and texts of the open project, as the file holds them. Like the
// save it is part of, it refreshes the format number, product number, project version
// and (with texts) the modification stamp of the project.
std::string BuildNewerProjectFile(const BlockRows& rows);
// The present feature sections, in their order.
std::string BuildFeatureSections();

// Writes a file whole: into a temporary file beside it, then renamed over it, so that
// a failed write leaves the previous file as it was. false with the reason on failure.
bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error);

// A save of the project at prjPath that a killed run left between its renames is
// finished, and replacements it left behind are removed (the .prj and its companions).
void FinishInterruptedSave(const std::string& prjPath);
// The project file's bytes, after finishing an interrupted save of it; false with the
// reason when it is not a regular file, is too large or cannot be read.
bool ReadProjectFileBytes(const std::string& path, std::string& bytes, std::string& error);
// Puts everything a save staged in the batch (the .prj with its sections and the
// internal-database companions) in place as one replace. On failure every old file is
// as it was, the reason is shown, the project stays modified and false is returned.
bool CommitProjectSave(platform::ReplaceBatch& batch, const std::string& prjPath);

// The save: writes the file and records where it ends. On failure shows the reason,
// leaves the project marked modified and returns -1; else 0.
int WriteNewerProjectFile(const std::string& path, const BlockRows& rows, size_t& endPosition);
// Appends the feature sections at endPosition of the file just written.
int AppendNewerFeatureSections(const std::string& path, size_t& endPosition);
