#pragma once
// The default communication registers: per port, one register of each connected station
// that the unit reads at power on to test the link. The compiler fills stations and
// addresses; this dialog lists both ports and lets the user set each row's number of
// words (1 to 255) with an edit laid over the Words cell.
#include "ui/Dialog.h"

// The row last clicked in either list.
extern int g_nSelectedRegisterRow;

class CDefCommRegDlg;

// The edit over a Words cell of one port's list; it stores its text when it loses the
// focus and goes away.
class CListCellEdit {
public:
    CListCellEdit(CDefCommRegDlg& dlg, int port) : m_dlg(dlg), m_port(port) {}
    void Create(const ui::Rect& rect, const std::string& text);
    bool IsOpen() const;
    void DestroyWindow();
    void OnKillFocus();

private:
    CDefCommRegDlg& m_dlg;
    int m_port;
};

class CDefCommRegDlg : public ui::Dialog {
public:
    static constexpr int kWordEntries = 200;

    explicit CDefCommRegDlg(ui::Window* parent = nullptr);

    // Empties stations, addresses, codes, entity codes and register data of both ports.
    static void ResetRegisters();

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override;

    void OnClickListCom1(const ui::Event& event);
    void OnClickListCom2(const ui::Event& event);
    void EditCell(int row, int col, int rightMargin, int limit, int port);

    ui::ListView& List(int port) const;
    static int EditId(int port);

    ui::ListView* m_pListCom1 = nullptr;
    ui::ListView* m_pListCom2 = nullptr;
    CListCellEdit m_editCom1;
    CListCellEdit m_editCom2;
    ui::Control* m_pOK = nullptr;
    ui::Control* m_pCancel = nullptr;

private:
    void OnEditKillFocus1() { m_editCom1.OnKillFocus(); }
    void OnEditKillFocus2() { m_editCom2.OnKillFocus(); }
    void OnEditKey(const ui::Event& event);
    void FillPort(int port);
    void StorePort(int port);
};
