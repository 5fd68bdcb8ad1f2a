#include "ui/PropertySheet.h"

#include <algorithm>


namespace ui {

PropertyPage::PropertyPage(int templateId, std::string caption)
    : Dialog(templateId), m_pageCaption(std::move(caption)) {
    if (m_pageCaption.empty()) m_pageCaption = Template().caption;
}

void PropertyPage::CreatePage(PropertySheet* sheet) {
    m_sheet = sheet;
    SetParentWindow(sheet);
    SetBaseUnits(sheet->BaseUnitX(), sheet->BaseUnitY());
    BeginModal();
}

void PropertyPage::DestroyPage() {
    if (!IsCreated()) return;
    DestroyTimers();
    OnDestroy();
    ClearControls();
    m_created = false;
    if (Peer()) Peer()->Destroyed();
    AttachPeer(nullptr);
}

namespace {

DialogTemplate SheetTemplate(const std::string& caption) {
    DialogTemplate t;
    t.id = 0;
    t.caption = caption;
    return t;
}

}  // namespace

PropertySheet::PropertySheet(const std::string& caption, Window* parent, int startPage)
    : Dialog(SheetTemplate(caption), parent), m_startPage(startPage) {}

PropertySheet::~PropertySheet() {
    for (PropertyPage* p : m_pages) p->DestroyPage();
}

int PropertySheet::DoModal() {
    // The sheet's size follows its largest page.
    int cx = 100, cy = 60;
    for (PropertyPage* p : m_pages) {
        cx = std::max(cx, p->Template().cx);
        cy = std::max(cy, p->Template().cy);
    }
    DialogTemplate& t = MutableTemplate();
    t.cx = cx + 14;
    t.cy = cy + 44;
    t.controls.clear();
    t.controls.push_back({ControlKind::Tab, AFX_IDC_TAB_CONTROL, "", 4, 4, cx + 6, cy + 18,
                          style::kTabStop});
    const int y = cy + 26;
    int x = t.cx - 7 - 50;
    std::vector<ControlTemplate> buttons;
    if (!(m_psh_dwFlags & PSH_NOAPPLYNOW)) {
        buttons.push_back({ControlKind::Button, ID_APPLY_NOW, "&Apply", x, y, 50, 14,
                           style::kTabStop | style::kDisabled});
        x -= 54;
    }
    buttons.push_back({ControlKind::Button, IDCANCEL, "Cancel", x, y, 50, 14, style::kTabStop});
    x -= 54;
    buttons.push_back({ControlKind::DefButton, IDOK, "OK", x, y, 50, 14, style::kTabStop});
    t.controls.insert(t.controls.end(), buttons.rbegin(), buttons.rend());
    const int result = Dialog::DoModal();
    for (PropertyPage* p : m_pages) p->DestroyPage();
    m_active = -1;
    return result;
}

void PropertySheet::AddPage(PropertyPage* page) {
    if (!page || GetPageIndex(page) >= 0) return;
    m_pages.push_back(page);
    SyncTabs();
    if (IsLive() && m_active < 0) SetActivePage(0);
}

void PropertySheet::RemovePage(PropertyPage* page) { RemovePage(GetPageIndex(page)); }

void PropertySheet::RemovePage(int index) {
    if (index < 0 || index >= GetPageCount()) return;
    PropertyPage* page = m_pages[size_t(index)];
    const bool wasActive = index == m_active;
    page->DestroyPage();
    m_pages.erase(m_pages.begin() + index);
    if (wasActive) {
        m_active = -1;
        SyncTabs();
        if (IsLive() && !m_pages.empty()) SetActivePage(std::max(0, index - 1));
        return;
    }
    if (index < m_active) --m_active;
    SyncTabs();
}

PropertyPage* PropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[size_t(index)] : nullptr;
}

int PropertySheet::GetPageIndex(const PropertyPage* page) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

PropertyPage* PropertySheet::GetActivePage() const { return GetPage(m_active); }

bool PropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return false;
    if (index == m_active) return true;
    if (PropertyPage* old = GetActivePage(); old && old->IsCreated() && !old->OnKillActive())
        return false;
    m_active = index;
    PropertyPage* page = m_pages[size_t(index)];
    if (!page->IsCreated()) page->CreatePage(this);
    SyncTabs();
    page->OnSetActive();
    return true;
}

void PropertySheet::SyncTabs() {
    auto* tab = dynamic_cast<ListControl*>(GetDlgItem(AFX_IDC_TAB_CONTROL));
    if (!tab) return;
    // A page change only moves the selection: the tab row a person is clicking on stays.
    bool same = tab->GetCount() == GetPageCount();
    for (int i = 0; same && i < GetPageCount(); ++i)
        same = tab->GetLBText(i) == m_pages[size_t(i)]->GetPageCaption();
    if (!same) {
        tab->ResetContent();
        for (PropertyPage* p : m_pages) tab->AddString(p->GetPageCaption());
    }
    tab->SetCurSel(m_active);
}

bool PropertySheet::OnInitDialog() {
    SyncTabs();
    SetActivePage(std::clamp(m_startPage, 0, std::max(0, GetPageCount() - 1)));
    return true;
}

void PropertySheet::OnOK() {
    if (PropertyPage* p = GetActivePage(); p && !p->OnKillActive()) return;
    for (PropertyPage* p : m_pages)
        if (p->IsCreated()) p->OnOK();
    EndDialog(IDOK);
}

void PropertySheet::OnCancel() {
    for (PropertyPage* p : m_pages)
        if (p->IsCreated()) p->OnCancel();
    EndDialog(IDCANCEL);
}

bool PropertySheet::UserSelectPage(int index) {
    if (!IsLive()) return false;
    return SetActivePage(index);
}

}  // namespace ui
