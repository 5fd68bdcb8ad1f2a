#pragma once
// Dialogs: built from a template (from src/res/ by id, or made in memory), run modally
// with DoModal until EndDialog, or shown modeless with Create. The controls are made
// from the template when the dialog's window is created and stay readable after the
// run, until the dialog object goes away or runs again.
//
// Default behaviour, as the screens expect it: OnOK ends with IDOK, OnCancel with
// IDCANCEL; a click on the button with id IDOK or IDCANCEL runs OnOK or OnCancel unless
// the class's table handles that click; Enter runs the default button (a multi-line
// edit with "want return" and controls with a key-down handler take Enter themselves);
// Escape and the close box run OnCancel; F1 runs OnHelpInfo.
#include <string>

#include "ui/DialogTemplate.h"
#include "ui/Window.h"

namespace ui {

class Dialog : public Window {
public:
    explicit Dialog(int templateId, Window* parent = nullptr);
    Dialog(DialogTemplate tmpl, Window* parent = nullptr);
    ~Dialog() override;

    virtual int DoModal();
    void EndDialog(int result);
    bool IsEnded() const { return m_ended; }
    int GetResult() const { return m_result; }
    bool IsModal() const { return m_modal; }

    // Modeless use.
    bool Create();
    void DestroyWindow();
    void ShowWindow(bool show);
    bool IsWindowVisible() const { return m_visible; }
    void MoveWindow(const Rect& pixels);  // screen or owner pixels
    const Rect& GetWindowRect() const { return m_windowRect; }

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnDestroy() {}
    // F1: the class's own help handler, else the main window's Help at the current topic
    // (the one the dialog set, else its caller's).
    void OnHelpInfo() override;

    int GetTemplateId() const { return m_template.id; }
    const DialogTemplate& Template() const { return m_template; }
    DialogTemplate& MutableTemplate() { return m_template; }  // before the window exists
    Rect GetClientRect() const override;

    int GetDefID() const;
    void SetDefID(int id);

    // Called by DoModal/Create through the backend: makes the controls, runs the
    // initialisation, sets the first focus. False when the dialog ended during it.
    bool BeginModal();
    bool IsLive() const override { return m_created && !m_ended; }

    // What a person does.
    bool UserClickButton(int id);  // GetDlgItem(id)->UserClick()
    bool UserPressEnter() { return UserKey(GetFocus(), VK_RETURN); }
    bool UserPressEscape() { return UserKey(GetFocus(), VK_ESCAPE); }
    void UserClose();              // the close box
    bool UserKey(Control* control, int vk) override;
    void OnControlNotify(const Event& event) override;

protected:
    void CreateControlsFromTemplate();

private:
    DialogTemplate m_template;
    bool m_ended = false;
    bool m_modal = false;
    // The help topic of the screen that opened the dialog: back in place when it closes.
    std::string m_callerHelpTopic;
    bool m_visible = false;
    int m_result = 0;
    int m_defId = 0;
    Rect m_windowRect;
};

}  // namespace ui
