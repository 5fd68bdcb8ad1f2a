#pragma once
// Writing a project of the newer generation: the fixed part, the block rows and the
// project texts, then the optional feature sections after them.
#include "model/BlockRows.h"
#include "model/ProjectFileFormat.h"
#include "platform/Files.h"

#include <string>

// The fixed part, rows and texts of the open project, as the file holds them. Like the
// save it is part of, it refreshes the format number, product number, project version
// and (with texts) the modification stamp of the project.
std::string BuildNewerProjectFile(const BlockRows& rows);

// The settings record (from offset 100) and what follows it up to the product record: the
// PLC pair, the port settings, the control-word and error-bit switches and the first
// advance values (for the three-port product: its PLC twice, three ports and their
// time-outs), the three address texts and the second advance values. Both generations
// write it; they differ in how many baud codes port 1 knows and in the table the third
// port takes its code from.
void WriteSettingsRecord(prjfile::FieldWriter& w, bool threePorts, int portOneCodes, int thirdPortTable);
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

// A project file another running program has open is neither opened nor saved here:
// false after saying so. Otherwise this program holds the file (when it exists) from now on.
bool HoldProjectFile(const std::string& path);
// This program goes on holding only the file of the project it has open (none at the
// product level), taking it when a first save has just made it.
void SettleProjectHold();
// Runs SettleProjectHold when it goes out of scope: an open or a close, whichever way it ends.
struct ProjectHoldSettler {
    ProjectHoldSettler() = default;
    ProjectHoldSettler(const ProjectHoldSettler&) = delete;
    ProjectHoldSettler& operator=(const ProjectHoldSettler&) = delete;
    ~ProjectHoldSettler() { SettleProjectHold(); }
};

// The save: writes the file and records where it ends. On failure shows the reason,
// leaves the project marked modified and returns -1; else 0.
int WriteNewerProjectFile(const std::string& path, const BlockRows& rows, size_t& endPosition);
// Appends the feature sections at endPosition of the file just written.
int AppendNewerFeatureSections(const std::string& path, size_t& endPosition);
