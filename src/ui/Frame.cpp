#include "ui/Frame.h"

#include <algorithm>

#include "ui/Backend.h"

namespace ui {

// ---------------------------------------------------------------------------------------
// View

View::View() { m_dialogUnits = false; }

View::~View() {
    if (m_frame && m_frame->GetActiveView() == this) m_frame->SetActiveView(nullptr);
}

void View::OnHelpInfo() {
    if (Dispatch(Event{Notify::Help, 0})) return;
    if (m_frame) m_frame->UserCommand(ID_HELP);
}

void View::Attach(Frame* frame, int row, int col) {
    m_frame = frame;
    m_row = row;
    m_col = col;
    SetParentWindow(frame);
    m_created = true;
}

void View::Resize(int cx, int cy) {
    const Rect old = GetClientRect();
    SetClientSize(cx, cy);
    if (old.Width() != cx || old.Height() != cy) OnSize(cx, cy);
}

// ---------------------------------------------------------------------------------------
// Splitter

bool Splitter::CreateStatic(int rows, int cols) {
    if (rows < 1 || cols < 1 || m_rows) return false;
    m_rows = rows;
    m_cols = cols;
    m_rowInfo.assign(size_t(rows), Info{});
    m_colInfo.assign(size_t(cols), Info{});
    m_views.resize(size_t(rows) * size_t(cols));
    return true;
}

View* Splitter::CreateView(int row, int col, std::unique_ptr<View> view, int cx, int cy) {
    if (!Valid(row, col) || !view) return nullptr;
    DeleteView(row, col);
    View* v = view.get();
    v->Attach(&m_frame, row, col);
    v->SetClientSize(cx, cy);
    m_views[Index(row, col)] = std::move(view);
    m_frame.NotifyPane(row, col);
    return v;
}

void Splitter::DeleteView(int row, int col) {
    if (!Valid(row, col) || !m_views[Index(row, col)]) return;
    std::unique_ptr<View> gone = std::move(m_views[Index(row, col)]);
    if (m_frame.GetActiveView() == gone.get()) m_frame.SetActiveView(nullptr);
    m_frame.NotifyPane(row, col);  // the peer lets go of the view's widgets first
    gone.reset();
}

View* Splitter::GetPane(int row, int col) const {
    return Valid(row, col) ? m_views[Index(row, col)].get() : nullptr;
}

void Splitter::SetRowInfo(int row, int ideal, int minimum) {
    if (row < 0 || row >= m_rows) return;
    m_rowInfo[size_t(row)].ideal = std::max(0, ideal);
    m_rowInfo[size_t(row)].minimum = std::max(0, minimum);
}

void Splitter::SetColumnInfo(int col, int ideal, int minimum) {
    if (col < 0 || col >= m_cols) return;
    m_colInfo[size_t(col)].ideal = std::max(0, ideal);
    m_colInfo[size_t(col)].minimum = std::max(0, minimum);
}

void Splitter::GetRowInfo(int row, int& ideal, int& minimum) const {
    ideal = minimum = 0;
    if (row < 0 || row >= m_rows) return;
    ideal = m_rowInfo[size_t(row)].actual;
    minimum = m_rowInfo[size_t(row)].minimum;
}

void Splitter::GetColumnInfo(int col, int& ideal, int& minimum) const {
    ideal = minimum = 0;
    if (col < 0 || col >= m_cols) return;
    ideal = m_colInfo[size_t(col)].actual;
    minimum = m_colInfo[size_t(col)].minimum;
}

namespace {

void Lay(std::vector<int>& sizes, const std::vector<int>& ideal, const std::vector<int>& minimum,
         int total) {
    int left = total;
    const size_t n = ideal.size();
    for (size_t i = 0; i < n; ++i) {
        if (i + 1 == n) {
            sizes[i] = std::max(0, left);
            break;
        }
        int size = std::min(ideal[i], std::max(0, left));
        if (size < minimum[i] || size == 0) size = 0;
        sizes[i] = size;
        left -= size;
    }
}

}  // namespace

void Splitter::RecalcLayout() {
    if (!m_rows) return;
    std::vector<int> ideal, minimum, sizes;
    for (const Info& i : m_rowInfo) {
        ideal.push_back(i.ideal);
        minimum.push_back(i.minimum);
    }
    sizes.assign(ideal.size(), 0);
    Lay(sizes, ideal, minimum, m_height);
    for (size_t i = 0; i < sizes.size(); ++i) m_rowInfo[i].actual = sizes[i];
    ideal.clear();
    minimum.clear();
    for (const Info& i : m_colInfo) {
        ideal.push_back(i.ideal);
        minimum.push_back(i.minimum);
    }
    sizes.assign(ideal.size(), 0);
    Lay(sizes, ideal, minimum, m_width);
    for (size_t i = 0; i < sizes.size(); ++i) m_colInfo[i].actual = sizes[i];
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_cols; ++c)
            if (View* v = GetPane(r, c)) {
                const Rect pane = GetPaneRect(r, c);
                v->Resize(pane.Width(), pane.Height());
            }
    m_frame.NotifyLayout();
}

void Splitter::SetSize(int width, int height) {
    m_width = std::max(0, width);
    m_height = std::max(0, height);
}

Rect Splitter::GetPaneRect(int row, int col) const {
    if (!Valid(row, col)) return Rect{};
    int top = 0, left = 0;
    for (int r = 0; r < row; ++r) top += m_rowInfo[size_t(r)].actual;
    for (int c = 0; c < col; ++c) left += m_colInfo[size_t(c)].actual;
    return Rect{left, top, left + m_colInfo[size_t(col)].actual, top + m_rowInfo[size_t(row)].actual};
}

// ---------------------------------------------------------------------------------------
// ToolBar and StatusBar

void ToolBar::SetButtons(int count) {
    m_buttons.assign(size_t(std::max(0, count)), ToolButton{});
    Invalidate();
}

bool ToolBar::SetButtonInfo(int index, int id, unsigned style, int image) {
    if (index < 0) return false;
    if (index >= GetCount()) m_buttons.resize(size_t(index) + 1);  // a slot at the end is added
    ToolButton& b = m_buttons[size_t(index)];
    b.id = (style & TBBS_SEPARATOR) ? 0 : id;
    b.style = style;
    b.image = image;
    return true;
}

bool ToolBar::SetButtonText(int index, const std::string& text) {
    if (index < 0 || index >= GetCount()) return false;
    m_buttons[size_t(index)].text = text;
    return true;
}

int ToolBar::CommandToIndex(int id) const {
    for (int i = 0; i < GetCount(); ++i)
        if (!(m_buttons[size_t(i)].style & TBBS_SEPARATOR) && m_buttons[size_t(i)].id == id) return i;
    return -1;
}

void ToolBar::SetBitmaps(std::shared_ptr<const Bitmap> normal, std::shared_ptr<const Bitmap> hot,
                         int cellWidth, Color mask) {
    m_normal = std::move(normal);
    m_hot = std::move(hot);
    m_cellWidth = std::max(1, cellWidth);
    m_mask = mask;
}

void ToolBar::SetSizes(int buttonCx, int buttonCy, int imageCx, int imageCy) {
    m_buttonCx = buttonCx;
    m_buttonCy = buttonCy;
    m_imageCx = imageCx;
    m_imageCy = imageCy;
}

void ToolBar::ShowWindow(bool show) {
    m_visible = show;
    Invalidate();
}

void ToolBar::Invalidate() { m_frame.NotifyToolBar(*this); }

void StatusBar::SetIndicators(int count) {
    m_panes.assign(size_t(std::max(1, count)), std::string());
    m_frame.NotifyStatus();
}

bool StatusBar::SetPaneText(int index, const std::string& text) {
    if (index < 0 || index >= GetCount()) return false;
    m_panes[size_t(index)] = text;
    m_frame.NotifyStatus();
    return true;
}

std::string StatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[size_t(index)] : std::string();
}

// ---------------------------------------------------------------------------------------
// Frame

Frame::Frame() : m_statusBar(*this), m_splitter(*this) {}

Frame::~Frame() {
    if (m_created) DestroyWindow();
    for (int r = 0; r < m_splitter.GetRowCount(); ++r)
        for (int c = 0; c < m_splitter.GetColumnCount(); ++c) m_splitter.DeleteView(r, c);
}

bool Frame::Create() {
    if (m_created) return true;
    m_created = true;
    GetBackend().ShowFrame(*this);
    return true;
}

void Frame::DestroyWindow() {
    if (!m_created) return;
    DestroyTimers();
    GetBackend().DestroyFrame(*this);
    m_created = false;
    AttachPeer(nullptr);
    m_framePeer = nullptr;
}

void Frame::SetMenu(std::shared_ptr<Menu> menu) {
    m_menu = std::move(menu);
    DrawMenuBar();
}

void Frame::DrawMenuBar() {
    if (m_framePeer) m_framePeer->MenuChanged();
}

ToolBar& Frame::AddToolBar(int id) {
    m_toolBars.push_back(std::make_unique<ToolBar>(*this, id));
    NotifyToolBar(*m_toolBars.back());
    return *m_toolBars.back();
}

ToolBar* Frame::GetToolBar(int id) const {
    for (const auto& t : m_toolBars)
        if (t->GetDlgCtrlID() == id) return t.get();
    return nullptr;
}

void Frame::SetActiveView(View* view) { m_active = view; }

void Frame::RecalcLayout() {
    m_splitter.RecalcLayout();
}

void Frame::SetClientArea(int width, int height) {
    SetClientSize(width, height);
    m_splitter.SetSize(width, height);
    m_splitter.RecalcLayout();
}

bool Frame::OnCommand(int id) {
    const Event e{Notify::Command, id};
    if (m_active && m_active->Dispatch(e)) return true;
    if (Dispatch(e)) return true;
    return m_app && m_app->Dispatch(e);
}

CmdUI Frame::QueryCommand(int id) {
    CmdUI ui(id);
    Event e{Notify::UpdateUI, id};
    e.cmdUI = &ui;
    if (m_active && m_active->Dispatch(e)) return ui;
    if (Dispatch(e)) return ui;
    if (m_app && m_app->Dispatch(e)) return ui;
    // No update handler: a command is enabled when someone on the route handles it.
    ui.Enable((m_active && m_active->HasHandler(Notify::Command, id)) || HasHandler(Notify::Command, id) ||
              (m_app && m_app->HasHandler(Notify::Command, id)));
    return ui;
}

bool Frame::UserCommand(int id) {
    if (!IsLive()) return false;
    if (Menu::Item* item = m_menu ? m_menu->FindCommand(id) : nullptr;
        item && (item->flags & (MF_GRAYED | MF_DISABLED)))
        return false;
    if (!QueryCommand(id).IsEnabled()) return false;
    return OnCommand(id);
}

int Frame::FindAccelerator(unsigned modifiers, int key) const {
    const unsigned mask = FSHIFT | FCONTROL | FALT;
    for (const Accel& a : m_accel)
        if (a.key == key && (a.flags & mask) == (modifiers & mask)) return a.cmd;
    return 0;
}

bool Frame::UserAccelerator(unsigned modifiers, int key) {
    if (!IsLive()) return false;
    const int id = FindAccelerator(modifiers, key);
    if (id == 0) return false;
    UserCommand(id);
    return true;
}

void Frame::UserHelp() {
    if (!IsLive()) return;
    if (m_active) m_active->OnHelpInfo();
    else UserCommand(ID_HELP);
}

void Frame::NotifyToolBar(ToolBar& bar) {
    if (m_framePeer) m_framePeer->ToolBarChanged(bar);
}

void Frame::NotifyStatus() {
    if (m_framePeer) m_framePeer->StatusChanged();
}

void Frame::NotifyPane(int row, int col) {
    if (m_framePeer) m_framePeer->PaneChanged(row, col);
}

void Frame::NotifyLayout() {
    if (m_framePeer) m_framePeer->LayoutChanged();
}

}  // namespace ui
