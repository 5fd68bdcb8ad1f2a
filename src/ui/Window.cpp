#include "ui/Window.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "ui/Backend.h"

namespace ui {

const HandlerEntry* HandlerTable::Find(Notify code, int id) const {
    for (const HandlerTable* t = this; t; t = t->m_base) {
        for (const HandlerEntry& e : t->m_entries)
            if (e.code == code && e.id == id) return &e;
        for (const HandlerEntry& e : t->m_entries)
            if (e.code == code && e.id == kAnyId) return &e;
    }
    return nullptr;
}

const HandlerTable* CmdTarget::GetHandlerTable() const {
    static const HandlerTable empty(nullptr, {});
    return &empty;
}

bool CmdTarget::Dispatch(const Event& event) {
    const HandlerTable* table = GetHandlerTable();
    const HandlerEntry* entry = table ? table->Find(event.code, event.id) : nullptr;
    if (!entry) return false;
    entry->call(*this, event);
    return true;
}

bool CmdTarget::HasHandler(Notify code, int id) const {
    const HandlerTable* table = GetHandlerTable();
    return table && table->Find(code, id);
}

bool CmdTarget::ClickCancels(int id) const {
    const HandlerTable* table = GetHandlerTable();
    const HandlerEntry* entry = table ? table->Find(Notify::Clicked, id) : nullptr;
    return entry ? entry->cancels : id == IDCANCEL;
}

std::unique_ptr<Control> MakeControl(Window* owner, ControlKind kind, int id,
                                     const std::string& text, const Rect& rect,
                                     unsigned styles) {
    switch (kind) {
        case ControlKind::DropList:
        case ControlKind::DropDown:
        case ControlKind::ListBox:
        case ControlKind::Tab:
            return std::make_unique<ListControl>(owner, kind, id, text, rect, styles);
        case ControlKind::ListView:
            return std::make_unique<ListView>(owner, kind, id, text, rect, styles);
        case ControlKind::Tree:
            return std::make_unique<TreeView>(owner, kind, id, text, rect, styles);
        default:
            return std::make_unique<Control>(owner, kind, id, text, rect, styles);
    }
}

Window::~Window() {
    DestroyTimers();
    GetBackend().WindowDestroyed(*this);
}

void Window::DestroyTimers() {
    for (const auto& t : m_timers) GetBackend().KillTimer(*this, t.first);
    m_timers.clear();
}

void Window::SetWindowText(const std::string& caption) {
    m_caption = caption;
    if (m_peer) m_peer->CaptionChanged();
}

Control* Window::GetDlgItem(int id) const {
    for (const auto& c : m_controls)
        if (c->GetDlgCtrlID() == id) return c.get();
    return nullptr;
}

void Window::MissingControl(int id, bool wrongKind) {
    throw std::logic_error(std::string(wrongKind ? "control of another kind: id "
                                                 : "no control with id ") +
                           std::to_string(id));
}

Control& Window::AddControl(ControlKind kind, int id, const std::string& text,
                            const Rect& rect, unsigned styles, bool dialogUnits) {
    m_removed.clear();
    m_controls.push_back(MakeControl(this, kind, id, text, rect, styles));
    Control& c = *m_controls.back();
    c.m_dialogUnits = dialogUnits && m_dialogUnits;
    if (m_peer) m_peer->ControlAdded(c);
    return c;
}

bool Window::RemoveControl(int id) {
    auto find = [this](auto pred) {
        return std::find_if(m_controls.begin(), m_controls.end(), pred);
    };
    auto it = find([id](const auto& c) { return c->GetDlgCtrlID() == id; });
    if (it == m_controls.end()) return false;
    Control* control = it->get();
    if (m_focus == control) {
        // A control that goes while it has the focus loses it first, and its kill-focus
        // handling runs (in-place editors store their text there).
        m_focus = nullptr;
        if (m_peer) m_peer->ControlChanged(*control, Aspect::Focus, -1);
        OnControlNotify(Event{Notify::KillFocus, id, 0, -1, -1, 0, control});
        it = find([control](const auto& c) { return c.get() == control; });
        if (it == m_controls.end()) return true;  // that handling removed it already
    }
    if (m_peer) m_peer->ControlRemoving(*control);
    // Kept until the next control is added: a control may remove itself from within
    // its own event handling.
    control->m_owner = nullptr;
    m_removed.push_back(std::move(*it));
    m_controls.erase(it);
    return true;
}

void Window::ClearControls() {
    if (m_peer)
        for (auto& c : m_controls) m_peer->ControlRemoving(*c);
    for (auto& c : m_controls) c->m_owner = nullptr;
    m_removed.clear();
    m_controls.clear();
    m_focus = nullptr;
}

void Window::SetDlgItemText(int id, const std::string& text) {
    if (Control* c = GetDlgItem(id)) c->SetWindowText(text);
}

std::string Window::GetDlgItemText(int id) const {
    const Control* c = GetDlgItem(id);
    return c ? c->GetWindowText() : std::string();
}

void Window::SetDlgItemInt(int id, int value) { SetDlgItemText(id, std::to_string(value)); }

int Window::GetDlgItemInt(int id) const {
    return std::atoi(GetDlgItemText(id).c_str());
}

void Window::CheckDlgButton(int id, int check) {
    if (Control* c = GetDlgItem(id)) c->SetCheck(check);
}

int Window::IsDlgButtonChecked(int id) const {
    const Control* c = GetDlgItem(id);
    return c ? c->GetCheck() : 0;
}

void Window::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (auto& c : m_controls) {
        const int id = c->GetDlgCtrlID();
        if (id >= firstId && id <= lastId) c->SetCheck(id == checkId ? 1 : 0);
    }
}

int Window::GetCheckedRadioButton(int firstId, int lastId) const {
    for (const auto& c : m_controls) {
        const int id = c->GetDlgCtrlID();
        if (id >= firstId && id <= lastId && c->GetCheck()) return id;
    }
    return 0;
}

void Window::EnableDlgItem(int id, bool enable) {
    if (Control* c = GetDlgItem(id)) c->EnableWindow(enable);
}

void Window::ShowDlgItem(int id, bool show) {
    if (Control* c = GetDlgItem(id)) c->ShowWindow(show);
}

void Window::GotoDlgCtrl(int id) {
    if (Control* c = GetDlgItem(id)) c->SetFocus();
}

Control* Window::GetFocus() const { return m_focus; }

void Window::SetFocusTo(Control* control, bool byUser) {
    (void)byUser;
    if (m_focus == control) return;
    Control* old = m_focus;
    m_focus = control;
    if (old) {
        if (m_peer) m_peer->ControlChanged(*old, Aspect::Focus, -1);
        // The kill-focus handling runs before whatever took the focus away.
        OnControlNotify(Event{Notify::KillFocus, old->GetDlgCtrlID(), 0, -1, -1, 0, old});
    }
    const bool stillThere =
        control && std::any_of(m_controls.begin(), m_controls.end(),
                               [control](const auto& c) { return c.get() == control; });
    if (stillThere && m_focus == control) {
        if (m_peer) m_peer->ControlChanged(*control, Aspect::Focus, -1);
        OnControlNotify(
            Event{Notify::SetFocus, control->GetDlgCtrlID(), 0, -1, -1, 0, control});
    }
}

void Window::SetTimer(int id, int ms) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [id](const auto& t) { return t.first == id; });
    if (it != m_timers.end()) it->second = ms;
    else m_timers.emplace_back(id, ms);
    GetBackend().SetTimer(*this, id, ms);
}

void Window::KillTimer(int id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [id](const auto& t) { return t.first == id; });
    if (it == m_timers.end()) return;
    m_timers.erase(it);
    GetBackend().KillTimer(*this, id);
}

void Window::FireTimer(int id) {
    const bool armed = std::any_of(m_timers.begin(), m_timers.end(),
                                   [id](const auto& t) { return t.first == id; });
    if (armed) OnTimer(id);
}

void Window::Invalidate() {
    if (m_peer) m_peer->Invalidate();
}

Rect Window::MapDialogRect(const Rect& r) const {
    auto mapX = [this](int v) { return (v * m_baseX + (v >= 0 ? 2 : -2)) / 4; };
    auto mapY = [this](int v) { return (v * m_baseY + (v >= 0 ? 4 : -4)) / 8; };
    return Rect{mapX(r.left), mapY(r.top), mapX(r.right), mapY(r.bottom)};
}

Rect Window::GetControlPixelRect(const Control& control) const {
    return control.m_dialogUnits ? MapDialogRect(control.GetRect()) : control.GetRect();
}

Rect Window::ControlToWindow(const Control& control, const Rect& rect) const {
    const Rect origin = GetControlPixelRect(control);
    return Rect{origin.left + rect.left, origin.top + rect.top, origin.left + rect.right,
                origin.top + rect.bottom};
}

void Window::SetFont(const std::string& face, int points) {
    m_fontFace = face;
    m_fontPoints = points;
}

Rect Window::GetClientRect() const { return m_clientRect; }

void Window::SetClientSize(int width, int height) {
    m_clientRect = Rect{0, 0, width, height};
}

bool Window::UserKey(Control* control, int vk) {
    Event e{Notify::KeyDown, control ? control->GetDlgCtrlID() : 0, vk, -1, -1, 0, control};
    const bool taken = Dispatch(e);
    if (vk != VK_F1) return taken;
    // F1 asks for help whatever a key-down handler made of it.
    OnHelpInfo();
    return true;
}

bool Window::UserMouseDown(int x, int y) {
    if (!IsLive()) return false;
    OnLButtonDown(x, y);
    return true;
}

void Window::OnControlNotify(const Event& event) { Dispatch(event); }

}  // namespace ui
