#pragma once
// The Qt 6 Widgets backend: shows any dialog model as a real QDialog (dialog units
// scaled by the font's metrics), runs modal loops, timers, message boxes, file dialogs,
// the wait cursor and the clipboard. Needs a QApplication before use.
//
// For tests and screenshots it can save a PNG of every window it shows, run a hook
// once a dialog is on screen, and close what it showed by itself.
// (This header includes no Qt header; the program and the Qt tests include it.)
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Backend.h"

namespace ui {
class Dialog;
class Frame;
}

namespace qtbind {

class QtBackend : public ui::Backend {
public:
    QtBackend();
    ~QtBackend() override;

    // PNG of every dialog and message box shown, into this folder ("" for none).
    void SetScreenshotFolder(const std::string& folder);
    // Runs once a modal dialog is on screen (after its screenshot).
    void SetShownHook(std::function<void(ui::Dialog&)> hook);
    // Answers message boxes instead of the user (after their screenshot).
    void SetMessageBoxHook(std::function<int(const std::string& text, const std::string& caption,
                                             unsigned flags)> hook);
    // Closes every dialog left open after the hook (as the close box does) and answers
    // every message box with its default button: the program runs without a person.
    void SetAutoClose(bool on);
    // Saves the dialog as it is on screen now; false when it is not shown or saving fails.
    bool GrabDialog(const ui::Dialog& dialog, const std::string& pngPath);
    // Saves the main window as it is on screen now.
    bool GrabFrame(const ui::Frame& frame, const std::string& pngPath);
    // Names of the PNG files saved so far.
    const std::vector<std::string>& Screenshots() const;

    int RunModal(ui::Dialog& dialog) override;
    void ShowModeless(ui::Dialog& dialog) override;
    void DestroyModeless(ui::Dialog& dialog) override;
    void ShowFrame(ui::Frame& frame) override;
    void DestroyFrame(ui::Frame& frame) override;
    int TrackPopupMenu(const ui::Menu& menu) override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool RunFileDialog(ui::FileDialog& dialog) override;
    void SetTimer(ui::Window& window, int id, int ms) override;
    void KillTimer(ui::Window& window, int id) override;
    void SetWaitCursor(bool on) override;
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;
    bool ShowHelpPage(const std::string& path, const std::string& contents) override;
    void ProcessPendingEvents() override;
    void WindowDestroyed(ui::Window& window) override;

    struct Impl;

private:
    std::unique_ptr<Impl> m;
};

}  // namespace qtbind
