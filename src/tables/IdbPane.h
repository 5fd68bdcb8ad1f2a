#pragma once
// What the two internal-database panes share: a report list of the rows of one port's
// internal database, filled by the derivation or the image loader; the user changes the
// data type, "Skip on Comm.Fail" and "Fail Value" of a row in place, and every change
// rewrites both image files at once.
#include "compiler/IdbImage.h"
#include "ui/Frame.h"

#include <string>
#include <vector>

class IdbPane;

// Row and column of the last clicked cell of each pane, set by a click.
extern int g_nIDBClickRow1, g_nIDBClickCol1;
extern int g_nIDBClickRow2, g_nIDBClickCol2;
// A click in either pane; taken by the next help request.
extern int g_bIDBClicked;
// The kind of the address either pane classified last: 0 register, 1 bit.
extern int g_nLastAddressKind;

// The choice list laid over a "DataType" or "Skip on Comm.Fail" cell. It writes back when
// it loses the focus; keysClose: Enter, Tab, Left and Right close it (COM1 pane).
class CIDBCellCombo {
public:
    CIDBCellCombo(IdbPane& pane, bool keysClose) : m_pane(pane), m_keysClose(keysClose) {}
    void Open(int row, int col, const std::vector<std::string>& choices);
    bool IsOpen() const;
    ui::ListControl* Control() const;
    bool TakesKeys() const { return m_keysClose; }
    void OnKeyDown(int vk);
    void OnKillFocus();

private:
    IdbPane& m_pane;
    bool m_keysClose;
};

class CIDBCellCombo1 : public CIDBCellCombo {
public:
    explicit CIDBCellCombo1(IdbPane& pane) : CIDBCellCombo(pane, true) {}
};

class CIDBCellCombo2 : public CIDBCellCombo {
public:
    explicit CIDBCellCombo2(IdbPane& pane) : CIDBCellCombo(pane, false) {}
};

// The edit laid over a "Fail Value" cell: digits, capitals, ':' and '/' only; Enter and
// Escape both give the focus back to the list, which stores the text.
class CIDBCellEdit {
public:
    explicit CIDBCellEdit(IdbPane& pane) : m_pane(pane) {}
    void Open(int row, int col, int rightInset, int limit);
    bool IsOpen() const;
    ui::Control* Control() const;
    void OnChange();
    void OnChar(int vk);
    void OnKillFocus();

private:
    IdbPane& m_pane;
};

class CIDBCellEdit1 : public CIDBCellEdit {
public:
    using CIDBCellEdit::CIDBCellEdit;
};

class CIDBCellEdit2 : public CIDBCellEdit {
public:
    using CIDBCellEdit::CIDBCellEdit;
};

// The characters a cell edit keeps: digits, capitals, ':' and '/', in their order.
std::string FilterCellEditText(const std::string& text);

class IdbPane : public ui::View {
public:
    enum Column {
        kColLabel = 0, kColNode, kColStart, kColDataType, kColWords, kColScaling,
        kColSkipCycles, kColSkipOnFail, kColFailValue, kColumns
    };
    static constexpr int kComboExtraHeight = 80;  // room for the open list
    static constexpr int kFailValueChars = 5;

    explicit IdbPane(int port);
    ~IdbPane() override;

    int Port() const { return m_port; }

    // Sets the list up: styles, colours and the nine columns.
    void OnInitialUpdate() override;
    void OnDraw(ui::Painter& painter) override;
    void OnSize(int cx, int cy) override;
    void OnHelpInfo() override;
    bool UserKey(ui::Control* control, int vk) override;
    // A click below a list without rows (which then shows only its header) is a click on
    // the list's empty area.
    void OnLButtonDown(int x, int y) override;
    const ui::HandlerTable* GetHandlerTable() const override;

    ui::ListView& List() const;
    // Deletes every row.
    int ClearList();
    // Appends a derived row: node, starting address and count, then FillRow. Returns its index.
    int AddRow(const std::string& station, const std::string& start, int count);
    // Fills the data type, scaling, skip count, skip on failure and fail value of a row
    // whose node, address and count are set.
    virtual int FillRow(int row, const std::string& address);
    // The project's rows were made anew in the model: the list shows them (an editor still
    // open is dropped: its row is gone).
    virtual void ShowModelRows();
    // The cells of every row, and rows put back as they were stored.
    std::vector<IdbPaneRow> GetRows() const;
    void SetRows(const std::vector<IdbPaneRow>& rows);

    // The converters of the pane's texts (port 1 and 2 differ for unknown texts).
    int DataTypeTextToCode(const std::string& text) const;
    int YesTextToBool(const std::string& text) const;
    std::string DataTypeCodeToText(int code) const;
    virtual std::string BoolToYesText(int value) const;

    // The click rules: columns 1, 2 and 4 are the derivation's; the others may open an editor.
    void OnClick(const ui::Event& event);
    virtual void EditCell(int row, int col);
    void ShowCellEdit(int row, int col, int rightInset, int limit);
    void ShowCellCombo(int row, int col, const std::vector<std::string>& choices);
    // The data types a row may take, by the kind of its starting address.
    std::vector<std::string> DataTypeChoices(int row);

    // Closes an open editor of the pane, storing its text (a click in the other pane).
    void CloseEditors();

    // An editor closes: its text goes into the last clicked cell, both images are written
    // again and the pane counts as edited by hand.
    void CommitCell(const std::string& text);

    int& ClickRow() const;
    int& ClickCol() const;
    int& EditedFlag() const;
    const std::string& EmptyText() const { return m_emptyText; }

    // The list follows the rows: the whole pane while it has rows, else only its header,
    // with the empty-list text painted below.
    void UpdateEmptyLayout();

    CIDBCellCombo& ComboCell() { return *m_combo; }
    CIDBCellEdit& EditCellEditor() { return *m_edit; }

protected:
    // Fills a row in the normal layout.
    void FillNormalRow(int row, const std::string& address);
    // A row's cells, and cells 1 to 8 put into a row.
    IdbPaneRow RowAt(int row) const;
    void PutRow(int row, const IdbPaneRow& cells);
    void SetEditors(CIDBCellCombo* combo, CIDBCellEdit* edit) {
        m_combo = combo;
        m_edit = edit;
    }
    void InsertNormalColumns(const std::string& firstTitle);
    void OnComboKeyDown(const ui::Event& event);

private:
    void OnComboKillFocus();
    void OnEditChange();
    void OnEditKillFocus();

    int m_port;
    std::string m_emptyText;
    CIDBCellCombo* m_combo = nullptr;
    CIDBCellEdit* m_edit = nullptr;
    int m_cx = 0, m_cy = 0;
};
