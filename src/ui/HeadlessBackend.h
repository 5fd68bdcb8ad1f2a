#pragma once
// The backend of the tests: runs every screen with no display and never blocks.
//
// A test scripts the modal steps in the order they will come:
//   backend.ExpectModal(IDD_X, [](ui::Dialog& d) { d.Item(IDC_NAME).UserType("A"); d.UserClickButton(IDOK); });
//   backend.AnswerMessageBox(ui::IDYES);
//   backend.AnswerFileDialog("/tmp/p.prj");
// When a dialog runs, its initialisation runs, then its step (matched by template id,
// 0 for any). A dialog with timers and no step of its own lets time pass: its timers
// fire in order on a virtual clock until it ends. A dialog that would wait with no step
// and no timer, a step for another dialog, a message box with a choice and no answer,
// or a dialog still open after its step: each is reported as a failure (to the failure
// handler, which the tests turn into a test failure) and the dialog is ended with
// IDCANCEL, the box answered with its cancelling button. A message box with only an OK
// button needs no answer: it is recorded and answered IDOK.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Dialog.h"

namespace ui {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags = 0;
    int answer = 0;
};

struct ModalRecord {
    int templateId = 0;
    std::string caption;  // as it stood when the dialog ended
    int result = 0;
};

class HeadlessBackend : public Backend {
public:
    using FailureHandler = std::function<void(const std::string&)>;

    HeadlessBackend();
    ~HeadlessBackend() override;

    // Makes this the backend in use while it lives (the previous one comes back after).
    void Install();

    void SetFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }
    const std::vector<std::string>& Failures() const { return m_failures; }

    // The script.
    void ExpectModal(int templateId, std::function<void(Dialog&)> step);
    void AnswerMessageBox(int answer, const std::string& expectedText = std::string());
    void AnswerFileDialog(const std::string& path);  // empty: cancelled
    size_t PendingSteps() const { return m_script.size(); }

    // What was shown.
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    const std::vector<ModalRecord>& Modals() const { return m_modals; }
    const std::vector<std::string>& FileDialogsShown() const { return m_fileDialogs; }
    // The folder each file dialog started in, in the same order.
    const std::vector<std::string>& FileDialogFolders() const { return m_fileDialogFolders; }
    void ClearRecords();

    // Virtual time: fires the timers of every window that fall due.
    void AdvanceTime(int ms);
    long long Now() const { return m_now; }
    bool HasTimer(const Window& window, int id) const;

    int WaitCursorChanges() const { return m_waitCursorChanges; }
    bool WaitCursorOn() const { return m_waitCursor; }

    // Backend
    int RunModal(Dialog& dialog) override;
    void ShowModeless(Dialog& dialog) override;
    void DestroyModeless(Dialog& dialog) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool RunFileDialog(FileDialog& dialog) override;
    void SetTimer(Window& window, int id, int ms) override;
    void KillTimer(Window& window, int id) override;
    void SetWaitCursor(bool on) override;
    void SetClipboardText(const std::string& text) override { m_clipboard = text; }
    std::string GetClipboardText() override { return m_clipboard; }
    void WindowDestroyed(Window& window) override;

private:
    enum class StepKind { Modal, MessageBox, FileDialog };
    struct Step {
        StepKind kind = StepKind::Modal;
        int templateId = 0;
        std::function<void(Dialog&)> modal;
        int answer = 0;
        std::string text;
    };
    struct Timer {
        Window* window;
        int id;
        int ms;
        long long due;
        long long order;
    };
    void Fail(const std::string& what);
    bool FireNextTimer(Window* only);  // false when there is none
    std::deque<Step> m_script;
    std::vector<MessageBoxRecord> m_boxes;
    std::vector<ModalRecord> m_modals;
    std::vector<std::string> m_fileDialogs;
    std::vector<std::string> m_fileDialogFolders;
    std::vector<std::string> m_failures;
    FailureHandler m_onFailure;
    std::vector<Timer> m_timers;
    long long m_now = 0;
    long long m_order = 0;
    std::string m_clipboard;
    bool m_waitCursor = false;
    int m_waitCursorChanges = 0;
    bool m_installed = false;
    Backend* m_previous = nullptr;
};

std::string DescribeDialog(const Dialog& dialog);

}  // namespace ui
