#pragma once
// A modal dialog without a dialog resource: the caller adds typed items (a window class,
// a caption, the Windows styles and a rectangle in dialog units) and DoModal builds the
// template from them and runs it. The Extended Setup values of the general entity are
// shown by its initialisation and encoded by its OK when `m_nEntitySide` names a port.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Dialog.h"

// One item of a dialog built at run time: its class, styles, rectangle and caption.
// Once the dialog runs, its control is the dialog's item with the same id.
class CDynDialogItem {
public:
    std::string m_strClassName;
    unsigned m_nType = 0;  // 128 to 146; 0 for a class not in the table
    unsigned m_nID = 0;
    unsigned m_dwStyle = 0;
    unsigned m_dwStyleEx = 0;
    ui::Rect m_rect;  // dialog units
    std::string m_strCaption;
    void* m_pData = nullptr;  // bound variable (not used by this program)
    bool m_bInTemplate = false;
};

// Windows styles as the items are described.
namespace dynstyle {
constexpr unsigned WS_CHILD = 0x40000000;
constexpr unsigned WS_VISIBLE = 0x10000000;
constexpr unsigned WS_DISABLED = 0x08000000;
constexpr unsigned WS_VSCROLL = 0x00200000;
constexpr unsigned WS_GROUP = 0x00020000;
constexpr unsigned WS_TABSTOP = 0x00010000;
constexpr unsigned WS_EX_CLIENTEDGE = 0x00000200;
constexpr unsigned BS_TYPEMASK = 0x0000000F;
constexpr unsigned ES_READONLY = 0x0800;
constexpr unsigned ES_NUMBER = 0x2000;
constexpr unsigned ES_AUTOHSCROLL = 0x0080;
constexpr unsigned CBS_TYPEMASK = 0x0003;
constexpr unsigned CBS_SORT = 0x0100;
constexpr unsigned CBS_AUTOHSCROLL = 0x0040;
}  // namespace dynstyle

// The window classes by their type codes (128 "BUTTON" to 146 "ComboBoxEx32").
std::string ControlTypeToClassName(unsigned type);
unsigned ClassNameToControlType(const std::string& className);

class CDynDialogEx : public ui::Dialog {
public:
    explicit CDynDialogEx(ui::Window* parent = nullptr);
    ~CDynDialogEx() override;

    int m_nEntitySide = 0;  // 1 the PLC1 (Com1) general entity, 2 the PLC2 one, 0 none
    int m_nItemNumber = 0;  // counted up by the caller before each input item
    std::map<int, int> m_mapItemIds;  // item number to control id
    ui::Window* m_pOwnerWnd = nullptr;
    std::string m_strTitle;
    std::string m_strFontFace;  // empty: the owner's font
    int m_wFontPoints = 0;      // 0: the size of the chosen font
    int m_nNextRow = 10;
    bool m_bWithOkCancel = true;
    bool m_bModeless = false;
    struct Header {
        unsigned style = 0x10C80040;  // WS_VISIBLE, WS_CAPTION, WS_SYSMENU, DS_SETFONT
        unsigned exStyle = 1;         // WS_EX_DLGMODALFRAME
        int cdit = 0;                 // items written into the template
        int x = 0, y = 0, cx = 0, cy = 0;
    } m_tmplHeader;
    std::vector<std::unique_ptr<CDynDialogItem>> m_arrItems;

    void SetDlgTitle(const std::string& title) { m_strTitle = title; }
    ui::Window* GetParentWnd() const { return m_pOwnerWnd; }

    // Each returns the control id (the next free one when `id` is 0). A null rectangle
    // takes the next row. By class name the id goes into m_mapItemIds[m_nItemNumber]
    // unless the class is "STATIC".
    int AddDlgControl(const std::string& className, const std::string& caption, unsigned style,
                      unsigned exStyle, const ui::Rect* rect = nullptr, void* data = nullptr,
                      int id = 0);
    int AddDlgControl(unsigned type, const std::string& caption, unsigned style, unsigned exStyle,
                      const ui::Rect* rect = nullptr, void* data = nullptr, int id = 0);
    int AddSubclassedDlgControl(const std::string& className, const std::string& caption,
                                unsigned style, unsigned exStyle, const ui::Rect* rect = nullptr,
                                int id = 0);

    int DoModal() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnControlNotify(const ui::Event& event) override;

    // The one conversion between a shown and a stored number: direction 0 stores (mode 1
    // adds the factor, 2 subtracts it, 3 multiplies by it, 4 divides by it), any other
    // direction shows (the reverse). Other modes leave the value; a factor of 0 divides
    // nothing. Division truncates towards zero; the result saturates at 32 bits.
    static int ScaleValue(int value, int mode, int factor, int direction);

    // The process-wide id counter: its value, then one more.
    static int GetNextItemId();

private:
    int AddItem(const std::string& className, unsigned type, const std::string& caption,
                unsigned style, unsigned exStyle, const ui::Rect* rect, void* data, int id,
                bool inTemplate, int defaultRight);
    ui::DialogTemplate BuildTemplate();
    // The Extended Setup values of m_nEntitySide (ExtendedSetupDlg.cpp).
    void ShowExtendedSetupValues();
    bool EncodeExtendedSetupValues();
};
