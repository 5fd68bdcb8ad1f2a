#include "ui/Menu.h"

namespace ui {

namespace {
constexpr unsigned kStateMask = MF_CHECKED | MF_GRAYED | MF_DISABLED;
}

int Menu::GetMenuItemID(int pos) const {
    if (pos < 0 || pos >= GetMenuItemCount()) return 0;
    const Item& it = m_items[size_t(pos)];
    if (it.flags & MF_POPUP) return -1;
    return it.id;
}

Menu::Item* Menu::FindCommand(int id) {
    for (Item& it : m_items) {
        if (it.popup) {
            if (Item* found = it.popup->FindCommand(id)) return found;
        } else if (!(it.flags & MF_SEPARATOR) && it.id == id) {
            return &it;
        }
    }
    return nullptr;
}

const Menu::Item* Menu::FindCommand(int id) const { return const_cast<Menu*>(this)->FindCommand(id); }

Menu::Item* Menu::Find(int idOrPos, unsigned flags) {
    if (flags & MF_BYPOSITION)
        return idOrPos >= 0 && idOrPos < GetMenuItemCount() ? &m_items[size_t(idOrPos)] : nullptr;
    return FindCommand(idOrPos);
}

const Menu::Item* Menu::Find(int idOrPos, unsigned flags) const {
    return const_cast<Menu*>(this)->Find(idOrPos, flags);
}

std::string Menu::GetMenuString(int idOrPos, unsigned flags) const {
    const Item* it = Find(idOrPos, flags);
    return it ? it->text : std::string();
}

Menu* Menu::GetSubMenu(int pos) const {
    if (pos < 0 || pos >= GetMenuItemCount()) return nullptr;
    return m_items[size_t(pos)].popup.get();
}

bool Menu::AppendMenu(unsigned flags, int id, const std::string& text) {
    return InsertMenu(-1, flags | MF_BYPOSITION, id, text);
}

bool Menu::AppendPopup(const std::string& text, std::shared_ptr<Menu> popup) {
    if (!popup) return false;
    Item it;
    it.flags = MF_POPUP;
    it.text = text;
    it.popup = std::move(popup);
    m_items.push_back(std::move(it));
    return true;
}

bool Menu::InsertMenu(int pos, unsigned flags, int id, const std::string& text) {
    Item it;
    it.flags = flags & ~MF_BYPOSITION;
    it.id = (flags & MF_SEPARATOR) ? 0 : id;
    it.text = (flags & MF_SEPARATOR) ? std::string() : text;
    size_t at = m_items.size();
    if (flags & MF_BYPOSITION) {
        if (pos >= 0 && pos < GetMenuItemCount()) at = size_t(pos);
    } else {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (!m_items[i].popup && m_items[i].id == pos) at = i;
    }
    m_items.insert(m_items.begin() + std::ptrdiff_t(at), std::move(it));
    return true;
}

bool Menu::RemoveMenu(int idOrPos, unsigned flags) {
    if (flags & MF_BYPOSITION) {
        if (idOrPos < 0 || idOrPos >= GetMenuItemCount()) return false;
        m_items.erase(m_items.begin() + idOrPos);
        return true;
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].popup) {
            if (m_items[i].popup->RemoveMenu(idOrPos, flags)) return true;
        } else if (!(m_items[i].flags & MF_SEPARATOR) && m_items[i].id == idOrPos) {
            m_items.erase(m_items.begin() + std::ptrdiff_t(i));
            return true;
        }
    }
    return false;
}

unsigned Menu::CheckMenuItem(int idOrPos, unsigned flags) {
    Item* it = Find(idOrPos, flags);
    if (!it) return kMenuError;
    const unsigned before = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return before;
}

unsigned Menu::EnableMenuItem(int idOrPos, unsigned flags) {
    Item* it = Find(idOrPos, flags);
    if (!it) return kMenuError;
    const unsigned before = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return before;
}

unsigned Menu::GetMenuState(int idOrPos, unsigned flags) const {
    const Item* it = Find(idOrPos, flags);
    if (!it) return kMenuError;
    return it->flags & (kStateMask | MF_SEPARATOR | MF_POPUP);
}

bool Menu::ModifyMenuText(int idOrPos, unsigned flags, const std::string& text) {
    Item* it = Find(idOrPos, flags);
    if (!it) return false;
    it->text = text;
    return true;
}

}  // namespace ui
