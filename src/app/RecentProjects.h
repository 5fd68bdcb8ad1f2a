#pragma once
// The recent-project list of products.inf [ProjectFile]: "Prj1" (newest) to "Prj4" and
// "ProjectCount".

constexpr int kMaxRecentProjects = 4;

#include <string>
#include <vector>

// The count as stored, kept within 0..4 (a missing or corrupt count reads as 0).
int ReadRecentProjectCount();
// The paths of the list, newest first, as many as the count says.
std::vector<std::string> ReadRecentProjects();
// Puts the project's path at the top of the list: an entry already there moves up, a new
// one is added and the oldest dropped when the list is full. Returns the new count.
int UpdateRecentProjectList(const std::string& projectPath, int recentCount);
