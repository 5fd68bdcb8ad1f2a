#pragma once
// Property sheets: a dialog with a tab per page and the OK, Cancel and Apply buttons.
// Pages are dialogs of their own template; a page's controls are made and its
// OnInitDialog runs when it is first shown, and again when it is shown after it was
// removed and added. Leaving a page runs its OnKillActive (false keeps it), showing one
// runs OnSetActive.
#include <string>
#include <vector>

#include "ui/Dialog.h"

namespace ui {

class PropertySheet;

class PropertyPage : public Dialog {
public:
    PropertyPage(int templateId, std::string caption = std::string());
    const std::string& GetPageCaption() const { return m_pageCaption; }
    void SetPageCaption(const std::string& caption) { m_pageCaption = caption; }
    PropertySheet* GetSheet() const { return m_sheet; }

    virtual bool OnSetActive() { return true; }
    virtual bool OnKillActive() { return true; }
    // The sheet's OK and Cancel reach every page whose window exists.
    void OnOK() override {}
    void OnCancel() override {}

    // The sheet's calls.
    void CreatePage(PropertySheet* sheet);
    void DestroyPage();

private:
    std::string m_pageCaption;
    PropertySheet* m_sheet = nullptr;
};

constexpr int ID_APPLY_NOW = 0x3021;
constexpr int AFX_IDC_TAB_CONTROL = 0x3020;
constexpr unsigned PSH_NOAPPLYNOW = 0x0080;

class PropertySheet : public Dialog {
public:
    PropertySheet(const std::string& caption, Window* parent = nullptr, int startPage = 0);
    ~PropertySheet() override;

    void AddPage(PropertyPage* page);       // pages stay owned by the caller
    void RemovePage(PropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return int(m_pages.size()); }
    PropertyPage* GetPage(int index) const;
    int GetPageIndex(const PropertyPage* page) const;
    PropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_active; }
    bool SetActivePage(int index);

    unsigned m_psh_dwFlags = 0;  // PSH_NOAPPLYNOW removes the Apply button

    int DoModal() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // A person picks a tab.
    bool UserSelectPage(int index);

private:
    void SyncTabs();
    std::vector<PropertyPage*> m_pages;
    int m_active = -1;
    int m_startPage;
};

}  // namespace ui
