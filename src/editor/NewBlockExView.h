#pragma once
// The newer generation's block list: the transfer blocks of a project in the project
// level's upper right pane, one row per block (at most 255), in the master or the slave
// column layout, with its info window, its in-place cell editors and the Set Address
// buttons of the current row.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "model/BlockRows.h"
#include "model/RunTimeState.h"
#include "projectfiles/ProjectFileReader.h"
#include "projectfiles/ProjectSaves.h"
#include "compiler/BlockScan.h"
#include "editor/BlockListView.h"
#include "editor/ErrorMessagesDlg.h"
#include "editor/NewBlockCellEditors.h"
#include "editor/ToolTipCtrlEx.h"
#include "ui/Frame.h"

class CTransferTasksDlg;

class CNewBlockExView : public CBlockListView {
public:
    // The text that blanks the info window.
    static const std::string kClearInfoText;

    CNewBlockExView();
    ~CNewBlockExView() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    // The PLC pair's state (read again into the model) and the project shown.
    void OnInitialUpdate() override;
    // The project shown as the model holds it: the columns of its PLC pair, a new
    // project's first row or the rows of the model, the panes' layout.
    void ShowProject();
    void OnDraw(ui::Painter& painter) override { (void)painter; }  // the list paints itself
    void OnSize(int cx, int cy) override;

    // Appends the default master row; 0.
    int AddDefaultRow();
    // The info window under the list: shown (and placed) with the first text that is not
    // blank, then kept visible.
    void SetInfoText(const std::string& text);
    // 1 when the PLC name is the COM1 PLC's, else 2.
    int GetPlcPort(const std::string& plcName) const;
    // Make the COM1 / COM2 internal-database pane the active view and empty it, then empty
    // the block lists of the block tables; 0.
    int RefreshIdbView1();
    int RefreshIdbView2();

    // The rows as the compiler and the project writer read them: the project's own.
    BlockRows GetBlockRows() const;
    // Puts rows into the list (after any there), and so into the project.
    void AppendBlockRows(const BlockRows& rows);
    // Shows the project's rows again after they were replaced without the list (an
    // upload taken over).
    void ShowProjectRows();
    // The compiler's check of the block in that row: 0 when it passes.
    int CompileBlock(int row) const;

    // Cell editing: places the Set Address buttons on the row and opens the column's
    // editor (an edit, the PLC list or none).
    void CreateSetAddressButton(int row, int col);
    void EditSubItem(int row, int col, int rightInset, int limit);
    void ShowPlcList(int row, int col);
    // The two Set Address buttons over the address cells of the row, with their tips.
    void PlaceSetAddressButtons(int row);
    // The Set Address buttons' work: the address dialog for the PLC of plcCol, its result
    // into addressCol of the edited row.
    void PickAddress(int plcCol, int addressCol);
    // An entry-check message: through the frame's info-window hand-over when there is one.
    void ReportInfo(const std::string& text) override;

    // The block commands (menu 111, context menu 137, the project toolbar).
    void OnAddNewBlock();
    void OnInsertBlock();
    void OnRemoveBlock();
    void OnCopyBlock();
    void OnPasteBlock();
    void OnPlc1Setting();
    void OnPlc2Setting();
    void OnDownload();
    void OnCloseProject();
    void OnFileSave();
    void OnFileSaveAs();
    void OnProjectInformation();
    void OnRecipes();
    void OnAttachRegisters();
    void OnEthernetNodeTable();
    void OnMacAddress();
    void OnHtmlDownload();
    void OnRunKorvo();
    void OnKeyDown(const ui::Event& event);
    void OnHelpInfo() override;
    // The first block that fails the compiler's check, -1 when all pass (its reason is
    // in the info window).
    int FindFailingBlock() const override;
    int CommandBox(const std::string& text, unsigned flags) const override;

    // The project file: fixed part, rows and texts, then the feature sections after them.
    // Each returns 0, or -1 when the file could not be written (the reason was shown and
    // the project stays modified).
    int WriteProjectFile(std::string path);
    int AppendFeatureSections();
    // The internal databases, from this list's rows.
    void FillBlockTables();
    void FillIdbViews();
    void WriteIdbImages();
    void BuildIdbImage(std::array<std::string, 2>* written = nullptr);
    void LoadIdbImages();
    // The download's compiler steps: the chains of slave blocks and the unit's image.
    void ScanBlocks(BlockLinks& links) const;
    int WriteProjectImage();

    CToolTipCtrlEx m_ToolTip1, m_ToolTip2;
    CNewBlockCellEdit m_CellEdit;
    CSourceAddrButtonNew m_SourceButton;
    CDestAddrButtonNew m_DestButton;
    CNewBlockCellCombo m_CellCombo;
    int m_nCurrentRow = 0;
    int m_bCom1HasIdb = 0;
    int m_bCom2HasIdb = 0;
    int m_anSourceKind[kMaxBlocks] = {};
    int m_anDestKind[kMaxBlocks] = {};
    int m_bShowMacAddress = -1;
    int m_nCom2Limit = 10;
    int m_nCom1Limit = 10;
    int m_nBlockDataSize = 1;
    size_t m_nPrjWritePos = 0;   // where the file last written ends
    std::string m_strPrjPath;    // the file last written

private:
    void OnClick(const ui::Event& event);
    void OnSourceButton() { m_SourceButton.OnClicked(); }
    void OnDestButton() { m_DestButton.OnClicked(); }

    void OnUpdateDialogCommand(ui::CmdUI& cmd);
    // The save paths: the file, then the internal-database images, then the sections.
    bool SaveUntitled(const std::string& fileName);
    bool SaveTitled();
    // Leaves the project level (the view is deleted: nothing of it may be used after).
    void CloseView();
    void PutNewRow(int row, const std::string& number);
    void RenumberRows(int from, const char* numberFormat);

    void InsertColumns(bool slave);
    void InsertFirstSlaveRow(const std::string& slavePlc, const std::string& otherPlc);
    void DeleteIdbPaneColumns(ui::View& pane);
};

// The newer block view while one exists, else null.
extern CNewBlockExView* g_pNewBlockExView;

// The block clipboard: columns 1 to 10 of the copied row (the control bit is kept but
// never pasted), the row copied from (-1: nothing copied) and the row last pasted into.
extern std::string g_strCopyWords, g_strCopySourcePlc, g_strCopySourceId, g_strCopySourceAddr,
    g_strCopyDestPlc, g_strCopyDestId, g_strCopyDestAddr, g_strCopyRepeat, g_strCopyControlBit,
    g_strCopyComment;
extern int g_nCopyBlockRow, g_nPasteBlockRow;
// The control-word dialog was confirmed since the last save: the next save derives the
// internal-database rows again.

// The screens the block commands hand over to that are built elsewhere. A command whose
// screen is not there stays disabled.
struct NewBlockExServices {
    std::function<void(int port)> plcPortSetting;  // "PLC1 Setting" / "PLC2 Setting"
    std::function<void()> recipes;                 // "Recipes"
    std::function<void()> attachRegisters;         // "Default Communication Registers"
    std::function<void()> ethernetNodeTable;       // "Ethernet Node Table"
    std::function<void()> macAddress;              // "MAC Address Settings"
    std::function<void()> htmlDownload;            // "HTML Downloading"
    // Runs the transfer dialog the download has set up; the default runs it modally.
    std::function<void(CTransferTasksDlg&)> runTransferDialog;
    // "Download": the transfer dialog in its download layout, with the block rows and the
    // rebuild of the internal-database images it asks for (true, with the bytes written).
    std::function<void(std::function<BlockRows()> rows,
                       std::function<bool(std::array<std::string, 2>& images)> rebuildIdbImages)>
        download;
    // "Project Information" over the parent window.
    std::function<void(ui::Window* parent)> projectInformation;
    // Shows the context menu at the point; the command chosen, 0 for none.
    std::function<int(const ui::Menu& menu, int x, int y)> trackPopupMenu;
    // Starts the sibling program in the program folder; false when it cannot be started.
    std::function<bool(const std::string& program, const std::string& folder)> startProgram;
};
extern NewBlockExServices g_NewBlockExServices;


// Menu 137: the block commands of the list's context menu, as its first sub-menu.
std::shared_ptr<ui::Menu> LoadBlockContextMenu();

// The Extended Setup conversion from a definition value to the stored value (modes: 1
// add, 2 subtract, 3 multiply, 4 divide by the factor; others leave it).
int ScaleExtSetupValue(int value, int mode, int factor);
// Builds a port's 200-byte Extended Setup defaults from its general-entity items.
void BuildExtSetupDefaults(int port);
