#include "ui/Dialog.h"

#include <algorithm>

#include "model/RunTimeState.h"
#include "ui/Backend.h"

namespace ui {

namespace {

DialogTemplate LookUp(int id) {
    if (const DialogTemplate* t = FindDialogTemplate(id)) return *t;
    DialogTemplate missing;
    missing.id = -id;  // marks "not found"; DoModal then fails
    return missing;
}

bool IsPushButton(const Control* c) {
    return c && (c->Kind() == ControlKind::Button || c->Kind() == ControlKind::DefButton);
}

bool TakesFocus(const Control& c) {
    switch (c.Kind()) {
        case ControlKind::Label:
        case ControlKind::GroupBox:
        case ControlKind::Picture:
        case ControlKind::Progress:
            return false;
        default:
            return c.IsWindowEnabled() && c.IsWindowVisible();
    }
}

}  // namespace

Dialog::Dialog(int templateId, Window* parent)
    : Window(parent), m_template(LookUp(templateId)), m_callerHelpTopic(g_szHelpTopic) {
    m_dialogUnits = true;
    m_caption = m_template.caption;
}

Dialog::Dialog(DialogTemplate tmpl, Window* parent)
    : Window(parent), m_template(std::move(tmpl)), m_callerHelpTopic(g_szHelpTopic) {
    m_dialogUnits = true;
    m_caption = m_template.caption;
}

Dialog::~Dialog() {
    if (m_created && !m_modal) DestroyWindow();
}

void Dialog::CreateControlsFromTemplate() {
    ClearControls();
    for (const ControlTemplate& ct : m_template.controls)
        AddControl(ct.kind, ct.id, ct.text, Rect{ct.x, ct.y, ct.x + ct.cx, ct.y + ct.cy},
                   ct.styles, true);
    m_defId = IDOK;
    for (const ControlTemplate& ct : m_template.controls)
        if (ct.kind == ControlKind::DefButton) {
            m_defId = ct.id;
            break;
        }
}

bool Dialog::BeginModal() {
    m_ended = false;
    m_result = 0;
    m_created = true;
    SetFont(m_template.fontFace, m_template.fontPoints);
    m_caption = m_template.caption;
    CreateControlsFromTemplate();
    const bool defaultFocus = OnInitDialog();
    if (m_ended) return false;
    if (defaultFocus && !GetFocus()) {
        for (const auto& c : Controls())
            if (TakesFocus(*c) && (c->GetStyle() & style::kTabStop)) {
                SetFocusTo(c.get(), false);
                break;
            }
    }
    return !m_ended;
}

int Dialog::DoModal() {
    if (m_template.id < 0) return -1;  // no such template
    m_modal = true;
    const int result = GetBackend().RunModal(*this);
    DestroyTimers();
    OnDestroy();
    g_szHelpTopic = m_callerHelpTopic;
    m_created = false;
    if (Peer()) Peer()->Destroyed();
    AttachPeer(nullptr);
    return result;
}

void Dialog::EndDialog(int result) {
    m_result = result;
    if (m_ended) return;
    m_ended = true;
    if (Peer()) Peer()->Ended(result);
}

bool Dialog::Create() {
    if (m_template.id < 0) return false;
    if (m_created) return true;
    m_modal = false;
    BeginModal();
    m_created = true;
    m_ended = false;
    m_visible = false;
    GetBackend().ShowModeless(*this);
    return true;
}

void Dialog::DestroyWindow() {
    if (!m_created) return;
    DestroyTimers();
    OnDestroy();
    GetBackend().DestroyModeless(*this);
    m_created = false;
    m_visible = false;
    if (Peer()) Peer()->Destroyed();
    AttachPeer(nullptr);
}

void Dialog::ShowWindow(bool show) {
    m_visible = show;
    if (Peer()) Peer()->WindowShown(show);
}

void Dialog::MoveWindow(const Rect& pixels) {
    m_windowRect = pixels;
    if (Peer()) Peer()->WindowMoved();
}

Rect Dialog::GetClientRect() const {
    return MapDialogRect(Rect{0, 0, m_template.cx, m_template.cy});
}

int Dialog::GetDefID() const { return m_defId; }

void Dialog::SetDefID(int id) { m_defId = id; }

void Dialog::OnHelpInfo() {
    if (!Dispatch(Event{Notify::Help, 0})) ShowHelp();
}

bool Dialog::UserClickButton(int id) {
    Control* c = GetDlgItem(id);
    return c && c->UserClick();
}

void Dialog::UserClose() {
    if (!IsLive()) return;
    OnControlNotify(Event{Notify::Clicked, IDCANCEL});
}

bool Dialog::UserKey(Control* control, int vk) {
    if (!IsLive()) return false;
    if (Window::UserKey(control, vk)) return true;  // a key-down handler took it, or F1
    switch (vk) {
        case VK_RETURN: {
            if (control && control->Kind() == ControlKind::Edit &&
                control->HasStyle(style::kMultiLine | style::kWantReturn))
                return true;  // a new line in the edit
            if (IsPushButton(control)) return control->UserClick();
            Control* def = GetDlgItem(m_defId);
            if (def && !(def->IsWindowEnabled() && def->IsWindowVisible())) return false;
            OnControlNotify(Event{Notify::Clicked, def ? def->GetDlgCtrlID() : IDOK, 0, -1, -1,
                                  0, def});
            return true;
        }
        case VK_ESCAPE:
            OnControlNotify(Event{Notify::Clicked, IDCANCEL});
            return true;
        case VK_TAB: {
            // Next control that takes the focus, in template order.
            const auto& cs = Controls();
            if (cs.empty()) return false;
            size_t start = 0;
            for (size_t i = 0; i < cs.size(); ++i)
                if (cs[i].get() == control) start = i + 1;
            for (size_t k = 0; k < cs.size(); ++k) {
                Control* c = cs[(start + k) % cs.size()].get();
                if (TakesFocus(*c) && (c->GetStyle() & style::kTabStop)) return c->UserFocus();
            }
            return false;
        }
        default:
            return false;
    }
}

void Dialog::OnControlNotify(const Event& event) {
    if (Dispatch(event)) return;
    if (event.code == Notify::Clicked) {
        if (event.id == IDOK) OnOK();
        else if (event.id == IDCANCEL) OnCancel();
    }
}

}  // namespace ui
