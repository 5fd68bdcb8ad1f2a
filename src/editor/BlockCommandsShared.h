#pragma once
// The steps that the block commands of both generations take alike: what a command checks
// before it runs, the question of Close, Save As up to the save itself, the start of a
// download and the end of writing the unit's image. Each generation's view runs them with
// its own state and does the rest in its own way.
#include <functional>
#include <string>

class CBlockListView;

namespace blockcmd {

// Paste Block: true when a block was copied (copyRow is not -1), else false after asking
// for a copy first.
bool HasCopiedBlock(const CBlockListView& view, int copyRow);

// Remove Block: the row the address buttons go to, the one above the last row removed
// (the first row when that was row 0); -1 when the list is empty.
int RowAfterRemove(const CBlockListView& view, int lastRemoved);

// Close of an edited project: asks whether to save it; Yes runs save, No runs discard,
// Cancel leaves the project as it is.
void AskSaveOnClose(const CBlockListView& view, const std::function<void()>& save,
                    const std::function<void()>& discard);

// Save As: for an open project whose blocks all pass (else the reason is in the info
// window), the path asked for from the project's own, under the wait cursor; save runs
// with it unless the dialog was cancelled.
void SaveProjectAs(const CBlockListView& view, const std::function<std::string(const std::string&)>& askPath,
                   const std::function<void(const std::string&)>& save);

// Download: the transfer mode set to 1, then true for an open project with its cell
// controls taken away (an open editor stores its entry first).
bool BeginDownload(CBlockListView& view, int& transferMode);

// The end of writing the unit's image: 0, or -1 after "Unable to create intermediate
// file." when it was not written.
int ImageWriteResult(const CBlockListView& view, bool written);

}  // namespace blockcmd
