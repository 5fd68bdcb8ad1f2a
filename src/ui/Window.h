#pragma once
// Windows of the model: command targets with per-class handler tables, and windows that
// own controls by id, a caption, timers, focus and painting. Dialogs, property sheets,
// views and the frame derive from Window.
//
// A class declares its handlers once, in a table that chains to its base's table:
//
//   const ui::HandlerTable* CMyDlg::GetHandlerTable() const {
//       static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
//           ui::On(ui::Notify::Clicked, IDC_DEFAULT, &CMyDlg::OnDefault),
//           ui::On(ui::Notify::KillFocus, IDC_TIMEOUT, &CMyDlg::OnKillFocusTimeout),
//           ui::On(ui::Notify::KeyDown, ui::kAnyId, &CMyDlg::OnKeyDown),  // (const Event&)
//       });
//       return &table;
//   }
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/Controls.h"
#include "ui/Types.h"

namespace ui {

class CmdTarget;
class Window;
class Painter;

// The state a command's update handler gives its menu item or toolbar button.
class CmdUI {
public:
    explicit CmdUI(int id) : m_id(id) {}
    int GetID() const { return m_id; }
    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(int check = 1) { m_check = check; }
    void SetText(const std::string& text) {
        m_text = text;
        m_textSet = true;
    }
    bool IsEnabled() const { return m_enabled; }
    int GetCheck() const { return m_check; }
    bool HasText() const { return m_textSet; }
    const std::string& GetText() const { return m_text; }

private:
    int m_id;
    bool m_enabled = true;
    int m_check = 0;
    bool m_textSet = false;
    std::string m_text;
};

struct Event {
    Notify code = Notify::Command;
    int id = 0;           // control or command id
    int key = 0;          // KeyDown: the key
    int row = -1;         // list view: row; list box / combo: entry
    int col = -1;         // list view: column
    std::intptr_t item = 0;  // tree: the item
    Control* control = nullptr;  // the control that sent it, if any
    CmdUI* cmdUI = nullptr;      // UpdateUI: the state to fill in
};

constexpr int kAnyId = -0x7FFF;  // a handler for every id

struct HandlerEntry {
    Notify code;
    int id;
    std::function<void(CmdTarget&, const Event&)> call;
    bool cancels = false;  // a click handler that cancels the dialog (see Cancelling)
};

class HandlerTable {
public:
    HandlerTable(const HandlerTable* base, std::initializer_list<HandlerEntry> entries)
        : m_base(base), m_entries(entries) {}
    // The handler of the class itself first, then the base classes'.
    const HandlerEntry* Find(Notify code, int id) const;

private:
    const HandlerTable* m_base;
    std::vector<HandlerEntry> m_entries;
};

template <class T>
HandlerEntry On(Notify code, int id, void (T::*fn)()) {
    return {code, id, [fn](CmdTarget& t, const Event&) { (static_cast<T&>(t).*fn)(); }};
}
template <class T>
HandlerEntry On(Notify code, int id, void (T::*fn)(const Event&)) {
    return {code, id, [fn](CmdTarget& t, const Event& e) { (static_cast<T&>(t).*fn)(e); }};
}
// Update handlers: On(Notify::UpdateUI, ID_FILE_SAVE, &CMainFrame::OnUpdateFileSave).
template <class T>
HandlerEntry On(Notify code, int id, void (T::*fn)(CmdUI&)) {
    return {code, id, [fn](CmdTarget& t, const Event& e) {
                if (e.cmdUI) (static_cast<T&>(t).*fn)(*e.cmdUI);
            }};
}

// Marks a button's click handler as the dialog's cancel, for a Cancel button whose id is not
// IDCANCEL: ui::Cancelling(ui::On(Notify::Clicked, IDC_X_CANCEL, &CMyDlg::OnCancelButton)).
inline HandlerEntry Cancelling(HandlerEntry entry) {
    entry.cancels = true;
    return entry;
}

class CmdTarget {
public:
    virtual ~CmdTarget() = default;
    virtual const HandlerTable* GetHandlerTable() const;
    // Runs the handler of the event; false when the class has none.
    bool Dispatch(const Event& event);
    // Whether the class has a handler for the event (none is run).
    bool HasHandler(Notify code, int id) const;
    // Whether a click on the button with this id cancels: its handler is marked Cancelling,
    // or it is IDCANCEL left to the default OnCancel.
    bool ClickCancels(int id) const;
    // A command (menu, toolbar, accelerator) sent to this target.
    virtual bool OnCommand(int id) { return Dispatch(Event{Notify::Command, id}); }
};

// Draws a window's own content (a splash bitmap, a painted summary). Pixels.
class Painter {
public:
    virtual ~Painter() = default;
    virtual void FillRect(const Rect& rect, Color color) = 0;
    virtual void DrawText(int x, int y, const std::string& text, Color color) = 0;
    virtual void DrawBitmap(const Bitmap& bitmap, const Rect& dest) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight() = 0;
};

// The toolkit side of one window, told of every change of the model.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void ControlChanged(Control& control, Aspect aspect, int index) = 0;
    virtual void ControlAdded(Control& control) = 0;
    virtual void ControlRemoving(Control& control) = 0;
    virtual void CaptionChanged() = 0;
    virtual void Invalidate() = 0;
    virtual void WindowShown(bool show) = 0;
    virtual void WindowMoved() = 0;
    virtual void Ended(int result) = 0;  // a modal run ends
    virtual void Destroyed() {}          // the window is gone (the peer may go too)
};

class Window : public CmdTarget {
public:
    explicit Window(Window* parent = nullptr) : m_parent(parent) {}
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Window* GetParentWindow() const { return m_parent; }
    void SetParentWindow(Window* parent) { m_parent = parent; }

    void SetWindowText(const std::string& caption);
    const std::string& GetWindowText() const { return m_caption; }

    // Controls by id. GetDlgItem returns null for an unknown id; Item<T> insists.
    Control* GetDlgItem(int id) const;
    template <class T = Control>
    T& Item(int id) const {
        Control* c = GetDlgItem(id);
        T* t = dynamic_cast<T*>(c);
        if (!t) MissingControl(id, c != nullptr);
        return *t;
    }
    const std::vector<std::unique_ptr<Control>>& Controls() const { return m_controls; }

    // A control made at run time (an in-place editor over a list cell): its rectangle is
    // in pixels of the window's client area unless `dialogUnits` says otherwise (the
    // controls of a template).
    Control& AddControl(ControlKind kind, int id, const std::string& text, const Rect& rect,
                        unsigned styles = 0, bool dialogUnits = false);
    // A rectangle in pixels of a control (a list view's cell) as pixels of the window.
    Rect ControlToWindow(const Control& control, const Rect& rect) const;
    bool RemoveControl(int id);

    // The helpers the screens use on controls by id.
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, int value);
    int GetDlgItemInt(int id) const;  // leading signed decimal, 0 when none
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId) const;  // 0 when none
    void EnableDlgItem(int id, bool enable);
    void ShowDlgItem(int id, bool show);
    void GotoDlgCtrl(int id);

    // Focus within the window: the control that has it, null when none.
    Control* GetFocus() const;
    void SetFocusTo(Control* control, bool byUser);

    // Timers: OnTimer(id) every `ms` until KillTimer (or the window goes away).
    void SetTimer(int id, int ms);
    void KillTimer(int id);
    const std::vector<std::pair<int, int>>& Timers() const { return m_timers; }
    virtual void OnTimer(int id) { (void)id; }
    void FireTimer(int id);  // the backend's call

    // Painting in pixels of the client area.
    virtual void OnPaint(Painter& painter) { (void)painter; }
    virtual bool HasPainting() const { return false; }
    void Invalidate();

    // Dialog units: the pixel size of 4 horizontal and 8 vertical units of the window's
    // font. The backend sets them when it creates the window (headless: 6 x 13).
    bool UsesDialogUnits() const { return m_dialogUnits; }
    void SetBaseUnits(int x, int y) { m_baseX = x; m_baseY = y; }
    int BaseUnitX() const { return m_baseX; }
    int BaseUnitY() const { return m_baseY; }
    Rect MapDialogRect(const Rect& rect) const;
    // A control's rectangle in pixels of the window's client area.
    Rect GetControlPixelRect(const Control& control) const;
    const std::string& FontFace() const { return m_fontFace; }
    int FontPoints() const { return m_fontPoints; }
    void SetFont(const std::string& face, int points);

    // Client size in pixels (dialogs: their template size mapped; views: as laid out).
    virtual Rect GetClientRect() const;
    void SetClientSize(int width, int height);

    // Mouse button pressed on the window itself (not on a control that takes clicks).
    virtual void OnLButtonDown(int x, int y) { (void)x; (void)y; }
    bool UserMouseDown(int x, int y);

    // F1 in the window. The default sends Notify::Help to the handler table.
    virtual void OnHelpInfo() { Dispatch(Event{Notify::Help, 0}); }

    // The binding's side.
    WindowPeer* Peer() const { return m_peer; }
    void AttachPeer(WindowPeer* peer) { m_peer = peer; }
    bool IsCreated() const { return m_created; }
    // Whether a person can act on it now (created, shown, not ended).
    virtual bool IsLive() const { return m_created; }

    // A key that went down with the focus on `control` (null: the window itself).
    // Key-down handlers run first; a key they do not take gets the window's default
    // handling (for dialogs: Enter, Escape). F1 then runs OnHelpInfo in any case.
    virtual bool UserKey(Control* control, int vk);
    // A notification from a control, after the control has updated its state.
    virtual void OnControlNotify(const Event& event);

protected:
    void ClearControls();
    void DestroyTimers();
    bool m_dialogUnits = false;
    bool m_created = false;
    std::string m_caption;

private:
    [[noreturn]] static void MissingControl(int id, bool wrongKind);
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<std::unique_ptr<Control>> m_removed;
    Rect m_clientRect;
    std::vector<std::pair<int, int>> m_timers;  // id, ms
    Window* m_parent;
    WindowPeer* m_peer = nullptr;
    Control* m_focus = nullptr;
    int m_baseX = 6, m_baseY = 13;
    std::string m_fontFace = "MS Sans Serif";
    int m_fontPoints = 8;
    friend class Control;
};

// Makes a control object of the class its kind calls for.
std::unique_ptr<Control> MakeControl(Window* owner, ControlKind kind, int id,
                                     const std::string& text, const Rect& rect,
                                     unsigned styles);

}  // namespace ui
