#pragma once
// The steps that the block views of both generations take alike: the set-up of the list's
// columns, the address dialog of the address buttons, and in the block commands the row
// after a removal, the question of Close, Save As up to the save itself, the start of a
// download and the end of writing the unit's image. Each generation's view
// runs them with its own state and does the rest in its own way.
#include <functional>
#include <string>

#include "editor/BlockListView.h"
#include "ui/Dialog.h"

namespace blockview {

struct ColumnSpec {
    const char* heading;
    int width;
};

// The list's columns replaced by these. The list is placed again: the toolkit measures
// the header's height once it has columns, and the cell editors and address buttons are
// placed by that height.
void SetColumns(ui::ListView& list, const ColumnSpec* specs, int count);

// The address dialog of an address button over the cell at row and addressCol, for the
// port (1 or 2), started from the cell's address; the address picked (the dialog's
// result member) goes into the cell. false when the dialog was cancelled.
template <class AddressDialog>
bool RunAddressDialog(CBlockListView& view, int row, int addressCol, int port, std::string AddressDialog::*result) {
    AddressDialog dlg(nullptr);
    dlg.m_nPort = port;
    dlg.m_strAddress = view.GetCellText(row, addressCol);
    if (dlg.DoModal() != ui::IDOK) return false;
    view.SetCellText(row, addressCol, dlg.*result);
    return true;
}

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

}  // namespace blockview
