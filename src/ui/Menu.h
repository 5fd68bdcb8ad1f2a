#pragma once
// Menus: items with a command id and a text, popups, separators, check and enable
// states. The frame rebuilds its menus at run time (an item removed, another inserted)
// and tells the toolkit with DrawMenuBar.
#include <memory>
#include <string>
#include <vector>

namespace ui {

constexpr unsigned MF_STRING = 0x0000;
constexpr unsigned MF_GRAYED = 0x0001;
constexpr unsigned MF_DISABLED = 0x0002;
constexpr unsigned MF_CHECKED = 0x0008;
constexpr unsigned MF_POPUP = 0x0010;
constexpr unsigned MF_SEPARATOR = 0x0800;
constexpr unsigned MF_BYCOMMAND = 0x0000;
constexpr unsigned MF_BYPOSITION = 0x0400;
constexpr unsigned MF_ENABLED = 0x0000;
constexpr unsigned MF_UNCHECKED = 0x0000;
constexpr unsigned kMenuError = 0xFFFFFFFFu;

// An accelerator table: a key with its modifiers fires a command. Keys are virtual-key
// codes ('A' to 'Z' and '0' to '9' are their own codes).
constexpr unsigned FVIRTKEY = 0x01;
constexpr unsigned FSHIFT = 0x04;
constexpr unsigned FCONTROL = 0x08;
constexpr unsigned FALT = 0x10;
struct Accel {
    unsigned flags = FVIRTKEY;  // FSHIFT, FCONTROL, FALT
    int key = 0;
    int cmd = 0;
};
using AccelTable = std::vector<Accel>;

class Menu {
public:
    struct Item {
        unsigned flags = MF_STRING;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED
        int id = 0;                  // command id (0 for separators and popups)
        std::string text;
        std::shared_ptr<Menu> popup;
    };

    int GetMenuItemCount() const { return int(m_items.size()); }
    int GetMenuItemID(int pos) const;  // -1 for a popup, 0 for a separator or a bad position
    std::string GetMenuString(int idOrPos, unsigned flags) const;
    Menu* GetSubMenu(int pos) const;
    const std::vector<Item>& Items() const { return m_items; }

    bool AppendMenu(unsigned flags, int id = 0, const std::string& text = std::string());
    bool AppendPopup(const std::string& text, std::shared_ptr<Menu> popup);
    // MF_BYPOSITION: before position pos (-1 or past the end: at the end).
    bool InsertMenu(int pos, unsigned flags, int id = 0, const std::string& text = std::string());
    bool RemoveMenu(int idOrPos, unsigned flags);
    bool DeleteMenu(int idOrPos, unsigned flags) { return RemoveMenu(idOrPos, flags); }
    // Previous state, or kMenuError when the item is not there (searched in popups too).
    unsigned CheckMenuItem(int idOrPos, unsigned flags);
    unsigned EnableMenuItem(int idOrPos, unsigned flags);
    unsigned GetMenuState(int idOrPos, unsigned flags) const;
    bool ModifyMenuText(int idOrPos, unsigned flags, const std::string& text);

    // The item with this command id (in popups too), or null.
    Item* FindCommand(int id);
    const Item* FindCommand(int id) const;

private:
    Item* Find(int idOrPos, unsigned flags);
    const Item* Find(int idOrPos, unsigned flags) const;
    std::vector<Item> m_items;
};

}  // namespace ui
