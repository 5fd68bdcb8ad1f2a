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
#include "editor/ErrorMessagesDlg.h"
#include "editor/ToolTipCtrlEx.h"
#include "ui/Frame.h"

// The ten cells of one row, as the list shows them.
constexpr int kOlderBlockColumns = 10;
using OlderBlockRow = std::array<std::string, kOlderBlockColumns>;
using OlderBlockRows = std::vector<OlderBlockRow>;

// Columns of the older block list.
enum OlderBlockColumn {
    kOlderColBlockNo = 0,
    kOlderColWords = 1,
    kOlderColSourcePlc = 2,
    kOlderColSourceId = 3,
    kOlderColSourceAddr = 4,
    kOlderColDestPlc = 5,
    kOlderColDestId = 6,
    kOlderColDestAddr = 7,
    kOlderColRepeat = 8,
    kOlderColComment = 9,
};

class CDownloadDlg;

// How the Download command runs the transfer dialog it has set up (tests and the
// screenshot run step in here); the default runs it modally.
struct BlockExServices {
    std::function<void(CDownloadDlg&)> runDownloadDialog;
};
extern BlockExServices g_BlockExServices;

class CBlockExView : public ui::View {
public:
    static constexpr int kMaxBlocks = 255;
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
    const std::string& GetInfoText() const;
    CErrorMessagesDlg* GetInfoWnd() const { return m_pInfoWnd.get(); }
    // An entry-check or command message: through the frame when there is one.
    void ReportInfo(const std::string& text);

    ui::ListView& GetListCtrl() const;
    // A cell of the block list ("" outside the list).
    std::string GetCellText(int row, int col) const;
    bool SetCellText(int row, int col, const std::string& text);
    // The rows as the project file keeps them, and rows read from a file (numbered 1, 2, ...).
    OlderBlockRows GetBlockRows() const;
    void SetBlockRows(const OlderBlockRows& rows);

    // Cell editing: the address buttons on the row, then the column's editor.
    void BeginCellEdit(int row, int col);
    void ShowCellEdit(int row, int col, int rightInset, int longest);
    void ShowCellCombo(int row, int col);
    void PlaceAddressButtons(int row);
    void DestroyAddressButtons();
    // Takes away the open editor (which stores its entry first) and the address buttons.
    void DestroyCellControls();
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
    void OnContextMenu(const ui::Event& event);
    void OnHScroll() { DestroyCellControls(); }
    void OnVScroll() { DestroyCellControls(); }

    // The first block that fails the block check, -1 when all pass.
    int FindFailingBlock() const;
    // Compiles the list into the unit's project image WritePrj.hex (beside the product's
    // projects): 0, or -1 after "Unable to create intermediate file.".
    int CompileProject();
    // Writes the project to the file: 0, or -1 when it could not be written (the reason
    // was shown; the list stays edited).
    int SaveProjectFile(const std::string& path);

    CToolTipCtrlEx m_SourceTip;
    CToolTipCtrlEx m_DestTip;
    CBlockCellEdit m_CellEdit;
    CSourceAddrButton m_SourceAddrButton;
    CDestAddrButton m_DestAddrButton;
    CBlockCellCombo m_CellCombo;
    int m_nBlockCount = 0;
    std::unique_ptr<CErrorMessagesDlg> m_pInfoWnd;

private:
    void OnClickCell(const ui::Event& event);
    void OnCellEditChange() { m_CellEdit.OnChange(); }
    void OnCellEditKey(const ui::Event& event) { m_CellEdit.OnKeyDown(event.key); }
    void OnCellEditKillFocus() { m_CellEdit.OnKillFocus(); }
    void OnCellComboKey(const ui::Event& event) { m_CellCombo.OnKeyDown(event.key); }
    void OnCellComboKillFocus() { m_CellCombo.OnKillFocus(); }
    void OnSourceButton() { m_SourceAddrButton.OnClicked(); }
    void OnDestButton() { m_DestAddrButton.OnClicked(); }
    void OnUpdateCommand(ui::CmdUI& cmd);

    void InsertColumns();
    // A new row at index row numbered `number`, slave-mode PLC names when in slave mode.
    void PutNewRow(int row, int number);
    std::vector<int> SelectedRows() const;
    // The closing steps; the view is deleted by them.
    void CloseProject(bool updateRecent);
    bool WriteChecked(const std::string& path);
};

// The copied block (columns 1 to 8) and the row it came from (-1: nothing copied).
extern int g_nCopyRow;
extern std::string g_BlockClipboard[8];
// The row a paste went to last.
extern int g_nOlderPasteRow;
