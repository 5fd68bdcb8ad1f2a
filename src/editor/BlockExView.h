#pragma once
// The older generation's block list: the transfer blocks of a project of an older
// product in the project level's upper right pane, one row per block (at most 255) in ten
// columns, with its info window, its in-place cell editors and the two address buttons of
// the edited row. The rows are the project's block table: the project file is written
// from them and read into them.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/BlockCellEditors.h"
#include "editor/BlockListView.h"
#include "editor/ErrorMessagesDlg.h"
#include "editor/ToolTipCtrlEx.h"
#include "model/BlockRows.h"
#include "ui/Frame.h"

class CDownloadDlg;

// The frame's hand-over of the Download command (without it Download does nothing).
struct BlockExServices {
    // "Download": the transfer dialog with the block check and the compile it runs.
    // compileProject writes WritePrj.hex and gives its bytes: 0, or -1 (reported).
    std::function<void(std::function<int()> findFailingBlock, std::function<int(std::string& image)> compileProject)>
        download;
    // Runs the transfer dialog the download has set up (tests and the screenshot run
    // step in here); the default runs it modally.
    std::function<void(CDownloadDlg&)> runDownloadDialog;
};
extern BlockExServices g_BlockExServices;

class CBlockExView : public CBlockListView {
public:
    static constexpr int kAddressButtonWidth = 20;

    CBlockExView();
    ~CBlockExView() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    void OnInitialUpdate() override;
    void OnDraw(ui::Painter& painter) override { (void)painter; }  // the list paints itself
    void OnSize(int cx, int cy) override;
    void OnHelpInfo() override;

    // The slave mode of the selected pair of PLC definition files as an opened project
    // takes it: the COM2 file's "Slave" key when it has one, else the COM1 file's, else 0.
    static int ReadSlaveMode();

    // Appends the default row (the cells of a new row, master mode).
    void AddDefaultRow();
    // The info window: shown with the first text that is not blank, then kept.
    void ShowInfoText(const std::string& text);
    void SetInfoText(const std::string& text) { ShowInfoText(text); }
    // An entry-check or command message: through the frame when there is one.
    void ReportInfo(const std::string& text) override;

    // The rows as the project file keeps them, and rows read from a file (numbered 1, 2, ...).
    OlderBlockRows GetBlockRows() const;
    void SetBlockRows(const OlderBlockRows& rows);

    // Cell editing: the address buttons on the row, then the column's editor.
    void BeginCellEdit(int row, int col);
    void ShowCellEdit(int row, int col, int rightInset, int longest);
    void ShowCellCombo(int row, int col);
    void PlaceAddressButtons(int row);
    // The address buttons' work: the address dialog for the PLC named in plcCol, its
    // result into addressCol of the edited row.
    void PickAddress(int plcCol, int addressCol);

    // Commands (menu 111, context menu 137, the project toolbar).
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();
    void OnDownload();
    void OnPlc1Setting();
    void OnPlc2Setting();
    void OnProjectInformation();
    void OnAddNewBlock();
    void OnInsertBlock();
    void OnRemoveBlock();
    void OnCopyBlock();
    void OnPasteBlock();

    // The first block that fails the block check, -1 when all pass.
    int FindFailingBlock() const override;
    int CommandBox(const std::string& text, unsigned flags) const override;
    // Compiles the list into the unit's project image WritePrj.hex (beside the product's
    // projects): 0, or -1 after "Unable to create intermediate file.".
    int CompileProject(std::string* image = nullptr);
    // Writes the project to the file: 0, or -1 when it could not be written (the reason
    // was shown; the list stays edited).
    int SaveProjectFile(const std::string& path);

    CToolTipCtrlEx m_SourceTip;
    CToolTipCtrlEx m_DestTip;
    CBlockCellEdit m_CellEdit;
    CSourceAddrButton m_SourceAddrButton;
    CDestAddrButton m_DestAddrButton;
    CBlockCellCombo m_CellCombo;

private:
    void OnClickCell(const ui::Event& event);
    void OnSourceButton() { m_SourceAddrButton.OnClicked(); }
    void OnDestButton() { m_DestAddrButton.OnClicked(); }
    void OnUpdateCommand(ui::CmdUI& cmd);

    void InsertColumns();
    // A new row at index row numbered `number`, slave-mode PLC names when in slave mode.
    void PutNewRow(int row, int number);
    // The closing steps; the view is deleted by them.
    void CloseProject(bool updateRecent);
    bool WriteChecked(const std::string& path);
};

// The copied block (columns 1 to 8) and the row it came from (-1: nothing copied).
extern int g_nCopyRow;
extern std::string g_BlockClipboard[8];
// The row a paste went to last.
extern int g_nOlderPasteRow;
