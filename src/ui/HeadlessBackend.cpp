#include "ui/HeadlessBackend.h"

#include <algorithm>

namespace ui {

std::string DescribeDialog(const Dialog& dialog) {
    return "dialog " + std::to_string(dialog.GetTemplateId()) + " \"" + dialog.GetWindowText() +
           "\"";
}

HeadlessBackend::HeadlessBackend() = default;

HeadlessBackend::~HeadlessBackend() {
    if (m_installed) SetBackend(m_previous == this ? nullptr : m_previous);
}

void HeadlessBackend::Install() {
    if (m_installed) return;
    m_previous = &GetBackend();
    m_installed = true;
    SetBackend(this);
}

void HeadlessBackend::Fail(const std::string& what) {
    m_failures.push_back(what);
    if (m_onFailure) m_onFailure(what);
}

void HeadlessBackend::ExpectModal(int templateId, std::function<void(Dialog&)> step) {
    Step s;
    s.kind = StepKind::Modal;
    s.templateId = templateId;
    s.modal = std::move(step);
    m_script.push_back(std::move(s));
}

void HeadlessBackend::AnswerMessageBox(int answer, const std::string& expectedText) {
    Step s;
    s.kind = StepKind::MessageBox;
    s.answer = answer;
    s.text = expectedText;
    m_script.push_back(std::move(s));
}

void HeadlessBackend::AnswerFileDialog(const std::string& path) {
    Step s;
    s.kind = StepKind::FileDialog;
    s.text = path;
    m_script.push_back(std::move(s));
}

void HeadlessBackend::ClearRecords() {
    m_boxes.clear();
    m_modals.clear();
    m_fileDialogs.clear();
    m_fileDialogFolders.clear();
    m_failures.clear();
}

int HeadlessBackend::RunModal(Dialog& dialog) {
    if (dialog.BeginModal()) {
        const bool stepIsMine =
            !m_script.empty() && m_script.front().kind == StepKind::Modal &&
            (m_script.front().templateId == 0 ||
             m_script.front().templateId == dialog.GetTemplateId());
        if (stepIsMine) {
            Step step = std::move(m_script.front());
            m_script.pop_front();
            if (step.modal) step.modal(dialog);
        }
        // Time passes for a dialog that waits on its own timers (for at most an hour of
        // virtual time: a dialog whose timers never end it is reported below).
        const long long limit = m_now + 3600LL * 1000;
        while (!dialog.IsEnded() && m_now <= limit && FireNextTimer(&dialog)) {
        }
        if (!dialog.IsEnded()) {
            std::string what;
            if (stepIsMine)
                what = DescribeDialog(dialog) + " is still open after its scripted step";
            else if (m_script.empty())
                what = DescribeDialog(dialog) + " waits for the user and the script has no step";
            else if (m_script.front().kind != StepKind::Modal)
                what = DescribeDialog(dialog) + " came where the script expects a " +
                       (m_script.front().kind == StepKind::MessageBox ? "message box"
                                                                      : "file dialog");
            else
                what = DescribeDialog(dialog) + " came where the script expects dialog " +
                       std::to_string(m_script.front().templateId);
            Fail(what);
            dialog.EndDialog(IDCANCEL);
        }
    }
    m_modals.push_back(ModalRecord{dialog.GetTemplateId(), dialog.GetWindowText(),
                                   dialog.GetResult()});
    return dialog.GetResult();
}

void HeadlessBackend::ShowModeless(Dialog& dialog) { (void)dialog; }

void HeadlessBackend::DestroyModeless(Dialog& dialog) { WindowDestroyed(dialog); }

int HeadlessBackend::MessageBox(const std::string& text, const std::string& caption,
                                unsigned flags) {
    MessageBoxRecord rec{text, caption, flags, IDOK};
    const unsigned type = flags & MB_TYPEMASK;
    auto cancelling = [type]() {
        switch (type) {
            case MB_OK: return IDOK;
            case MB_YESNO: return IDNO;
            case MB_ABORTRETRYIGNORE: return IDABORT;
            default: return IDCANCEL;
        }
    };
    if (!m_script.empty() && m_script.front().kind == StepKind::MessageBox) {
        Step step = std::move(m_script.front());
        m_script.pop_front();
        rec.answer = step.answer;
        if (!step.text.empty() && text.find(step.text) == std::string::npos)
            Fail("message box \"" + text + "\" came where the script expects \"" + step.text +
                 "\"");
    } else if (type == MB_OK) {
        rec.answer = IDOK;
    } else {
        Fail("message box \"" + text + "\" asks for an answer and the script has none");
        rec.answer = cancelling();
    }
    m_boxes.push_back(rec);
    return rec.answer;
}

bool HeadlessBackend::RunFileDialog(FileDialog& dialog) {
    m_fileDialogs.push_back(dialog.FileName());
    m_fileDialogFolders.push_back(dialog.InitialDir());
    if (m_script.empty() || m_script.front().kind != StepKind::FileDialog) {
        Fail(std::string(dialog.IsOpen() ? "open" : "save") +
             " file dialog came and the script has no answer");
        return false;
    }
    Step step = std::move(m_script.front());
    m_script.pop_front();
    if (step.text.empty()) return false;
    dialog.SetChosenPath(step.text);
    return true;
}

void HeadlessBackend::SetTimer(Window& window, int id, int ms) {
    KillTimer(window, id);
    const int period = std::max(ms, 1);
    m_timers.push_back(Timer{&window, id, period, m_now + period, m_order++});
}

void HeadlessBackend::KillTimer(Window& window, int id) {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [&](const Timer& t) { return t.window == &window && t.id == id; }),
                   m_timers.end());
}

bool HeadlessBackend::HasTimer(const Window& window, int id) const {
    return std::any_of(m_timers.begin(), m_timers.end(),
                       [&](const Timer& t) { return t.window == &window && t.id == id; });
}

bool HeadlessBackend::FireNextTimer(Window* only) {
    auto next = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (only && it->window != only) continue;
        if (next == m_timers.end() || it->due < next->due ||
            (it->due == next->due && it->order < next->order))
            next = it;
    }
    if (next == m_timers.end()) return false;
    Window* window = next->window;
    const int id = next->id;
    m_now = std::max(m_now, next->due);
    next->due = m_now + next->ms;  // a timer fires again until it is killed
    window->FireTimer(id);
    return true;
}

void HeadlessBackend::AdvanceTime(int ms) {
    const long long until = m_now + ms;
    for (;;) {
        auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                     [](const Timer& a, const Timer& b) {
                                         return a.due < b.due || (a.due == b.due && a.order < b.order);
                                     });
        if (next == m_timers.end() || next->due > until) break;
        Window* window = next->window;
        const int id = next->id;
        m_now = next->due;
        next->due = m_now + next->ms;
        window->FireTimer(id);
    }
    m_now = until;
}

void HeadlessBackend::SetWaitCursor(bool on) {
    m_waitCursor = on;
    ++m_waitCursorChanges;
}

void HeadlessBackend::WindowDestroyed(Window& window) {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [&](const Timer& t) { return t.window == &window; }),
                   m_timers.end());
}

}  // namespace ui
