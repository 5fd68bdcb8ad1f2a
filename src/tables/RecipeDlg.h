#pragma once
// The recipes: PLC registers the unit loads with a default value at power on. One grid
// row per register: the side ("Com1" or "Com2"), two one-byte parameters whose titles the
// PLC definition file gives, the PLC address and the value. Rows are inserted and deleted
// through the grid's context menu; OK stores the grid into the recipe holder.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/InPlaceEditors.h"
#include "ui/Dialog.h"
#include "ui/Menu.h"

// Shows a context menu at a point of the dialog (pixels of its client area) and returns
// the command chosen, 0 for none. Without it the grid has no context menu.
extern std::function<int(ui::Dialog& dialog, const ui::Menu& menu, int x, int y)> g_TablesPopupMenu;

// Menu 369: "&Insert Row" and "&Delete Row" as the first sub-menu.
std::shared_ptr<ui::Menu> LoadRecipePopupMenu();

class CRecipeDlg : public ui::Dialog, public IEditGridOwner {
public:
    explicit CRecipeDlg(ui::Window* parent = nullptr);
    ~CRecipeDlg() override;

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnRClickList(const ui::Event& event);
    void OnInsertRow();
    void OnDeleteRow();
    void OnGridComboItems(int column, std::vector<std::string>& items) override;
    void OnGridCellEdited(int gridId, int row, int column) override;

    CEditGridCtrl m_Grid;

private:
    void OnGridClick(const ui::Event& event);
    void OnGridScroll();
    void OnComboKillFocus();
    void OnComboKey(const ui::Event& event);
    void OnComboCloseUp();
    void OnEditKillFocus();
    void OnEditKey(const ui::Event& event);
    void OnEditChange();
    void OnGridButton();
    void InsertDefaultRow(int index, const std::string& side);
    // The rows OK would store: false, with the first fault shown and its row selected.
    bool CheckRows();
    std::vector<int> SelectedRows() const;
};
