#include "editor/BlockViewShared.h"

#include <algorithm>

#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "res/StringTable.h"
#include "ui/Backend.h"

// The Copy Block check and the start of a cell's editing, kept here with the other steps
// the views of both generations share.
std::vector<int> CBlockListView::RowsForCopy(int& copyRow) {
    if (!BlocksPass(kCompileErrorText)) {
        copyRow = -1;
        return {};
    }
    return SelectionForCommand();
}

bool CBlockListView::EnterCell(int row, int col, int& editRow, int& editCol) {
    CloseCellEditors();
    editCol = col;
    editRow = row;
    return row >= 0 && row < GetListCtrl().GetItemCount();
}

namespace blockview {

void SetColumns(ui::ListView& list, const ColumnSpec* specs, int count) {
    while (list.GetColumnCount() > 0) list.DeleteColumn(0);
    for (int c = 0; c < count; ++c) list.InsertColumn(c, specs[c].heading, ui::LVCFMT_LEFT, specs[c].width);
    list.MoveWindow(list.GetRect());
}

int RowAfterRemove(const CBlockListView& view, int lastRemoved) {
    if (view.m_nBlockCount <= 0) return -1;
    return std::clamp(lastRemoved - 1, 0, view.m_nBlockCount - 1);
}

void AskSaveOnClose(const CBlockListView& view, const std::function<void()>& save,
                    const std::function<void()>& discard) {
    const int answer = view.CommandBox(LoadString(IDS_SAVE_PROJECT_QUESTION), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
    if (answer == ui::IDYES) save();
    else if (answer == ui::IDNO) discard();
}

void SaveProjectAs(const CBlockListView& view, const std::function<std::string(const std::string&)>& askPath,
                   const std::function<void(const std::string&)>& save) {
    if (g_bProjectOpen != 1) return;
    if (view.FindFailingBlock() >= 0) return;  // the reason is in the info window
    ui::WaitCursor wait;
    const std::string path = askPath(g_ProjectSettings.g_strProjPath);
    if (path.empty()) return;
    save(path);
}

bool BeginDownload(CBlockListView& view, int& transferMode) {
    transferMode = 1;
    if (g_bProjectOpen != 1) return false;
    return view.StoreCellControls();
}

int ImageWriteResult(const CBlockListView& view, bool written) {
    if (written) return 0;
    view.CommandBox("Unable to create intermediate file.", ui::MB_OK);
    return -1;
}

}  // namespace blockview
