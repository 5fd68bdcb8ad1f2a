#pragma once
// Everything modal or blocking, and everything that reaches outside the window model,
// goes through one Backend: the Qt binding shows real windows, HeadlessBackend runs
// the same screens in tests with no display.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/Types.h"

namespace ui {

class Dialog;
class Frame;
class Menu;
class Window;
class FileDialog;

class Backend {
public:
    virtual ~Backend() = default;

    // Runs a dialog modally: the dialog's BeginModal() has been called by DoModal and
    // the controls exist; returns when EndDialog was called, with its result.
    virtual int RunModal(Dialog& dialog) = 0;
    // Shows (or hides, destroys) a modeless dialog.
    virtual void ShowModeless(Dialog& dialog) = 0;
    virtual void DestroyModeless(Dialog& dialog) = 0;
    // Shows the main window (and takes it away).
    virtual void ShowFrame(Frame& frame) { (void)frame; }
    virtual void DestroyFrame(Frame& frame) { (void)frame; }
    // A context menu at the mouse: the command chosen, 0 when none (no display: none).
    virtual int TrackPopupMenu(const Menu& menu) { (void)menu; return 0; }

    virtual int MessageBox(const std::string& text, const std::string& caption,
                           unsigned flags) = 0;
    virtual bool RunFileDialog(FileDialog& dialog) = 0;

    virtual void SetTimer(Window& window, int id, int ms) = 0;
    virtual void KillTimer(Window& window, int id) = 0;

    virtual void SetWaitCursor(bool on) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string GetClipboardText() = 0;

    // Shows a help page (an HTML file) in the program's help window, the contents page
    // beside it ("" for none); links lead to the other pages. False where there is no such
    // window (then the desktop's opener).
    virtual bool ShowHelpPage(const std::string& path, const std::string& contents) {
        (void)path;
        (void)contents;
        return false;
    }
    // Lets pending window events through (paint, timers) without blocking.
    virtual void ProcessPendingEvents() {}
    // A window is going away: forget its timers and widgets.
    virtual void WindowDestroyed(Window& window) = 0;
};

// The backend in use. Until one is set, a HeadlessBackend that fails every unscripted
// step is used, so nothing can block.
Backend& GetBackend();
void SetBackend(Backend* backend);  // null: back to the default
// Whether ProcessPendingEvents also lets the person's keys and clicks through: on while a
// window whose handlers are safe in the middle of a wait (a transfer that only notes a
// stop) runs a long step, so that a key is heard at once instead of when the step ends.
void SetInputDuringWaits(bool on);
bool InputDuringWaits();

// The program's name: the caption of every message box that names none of its own.
constexpr const char* kProgramName = "Quorvex";
int MessageBox(const std::string& text, const std::string& caption = std::string(),
               unsigned flags = MB_OK);
// How many message boxes have been shown so far: a press can tell whether one came up
// while the focus moved to its button.
int MessageBoxesShown();

void SetClipboardText(const std::string& text);
std::string GetClipboardText();

// The wait cursor while an object lives (nested ones count).
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
int WaitCursorDepth();

// Help for the current topic: the main window's Help command while there is one, else
// what the application installs.
void SetHelpHandler(std::function<void()> handler);
void ShowHelp();

// File open and save dialogs, with the Windows filter syntax
// ("Project Files (*.prj)|*.prj|All Files (*.*)|*.*||").
constexpr unsigned OFN_READONLY = 0x0001;
constexpr unsigned OFN_OVERWRITEPROMPT = 0x0002;
constexpr unsigned OFN_HIDEREADONLY = 0x0004;
constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;

class FileDialog {
public:
    FileDialog(bool open, std::string defaultExt = std::string(),
               std::string fileName = std::string(), unsigned flags = 0,
               std::string filter = std::string());
    int DoModal();  // IDOK or IDCANCEL
    void SetInitialDir(const std::string& dir) { m_initialDir = dir; }
    void SetTitle(const std::string& title) { m_title = title; }

    bool IsOpen() const { return m_open; }
    const std::string& DefaultExt() const { return m_defaultExt; }
    const std::string& FileName() const { return m_fileName; }
    unsigned Flags() const { return m_flags; }
    const std::string& Filter() const { return m_filter; }
    const std::string& InitialDir() const { return m_initialDir; }
    const std::string& Title() const { return m_title; }
    // Filter pairs: ("Project Files (*.prj)", "*.prj"), ...
    std::vector<std::pair<std::string, std::string>> FilterPairs() const;

    // The chosen path (the default extension added when the name has none).
    const std::string& GetPathName() const { return m_path; }
    std::string GetFileName() const;
    void SetChosenPath(const std::string& path);  // the backend's call

private:
    bool m_open;
    std::string m_defaultExt, m_fileName, m_filter, m_initialDir, m_title, m_path;
    unsigned m_flags;
};

}  // namespace ui
