#include "editor/CellEditKeys.h"

#include <algorithm>
#include <string>

#include "ui/Controls.h"

namespace celledit {

void DefaultEditKey(ui::Control& edit, int vk) {
    const int len = edit.GetWindowTextLength();
    const int start = std::clamp(edit.GetSelStart(), 0, len);
    const int end = edit.GetSelEnd() < 0 ? len : std::min(edit.GetSelEnd(), len);
    const int lo = std::min(start, end), hi = std::max(start, end);
    int caret = end;
    switch (vk) {
        case ui::VK_LEFT: caret = lo != hi ? lo : std::max(0, end - 1); break;
        case ui::VK_RIGHT: caret = lo != hi ? hi : std::min(len, end + 1); break;
        case ui::VK_HOME: caret = 0; break;
        case ui::VK_END: caret = len; break;
        case ui::VK_DELETE: {
            const int stop = lo == hi && hi < len ? hi + 1 : hi;
            if (lo < stop) {
                std::string text = edit.GetWindowText();
                text.erase(size_t(lo), size_t(stop - lo));
                edit.UserEdited(text);
            }
            caret = lo;
            break;
        }
        default: return;
    }
    edit.SetSel(caret, caret);
}

void DefaultListKey(ui::ListControl& list, int vk) {
    const int count = list.GetCount();
    if (count == 0) return;
    int cur = list.GetCurSel();
    switch (vk) {
        case ui::VK_UP: cur = std::max(0, cur - 1); break;
        case ui::VK_DOWN: cur = std::min(count - 1, cur + 1); break;
        case ui::VK_HOME: cur = 0; break;
        case ui::VK_END: cur = count - 1; break;
        default: return;
    }
    list.SetCurSel(cur);
}

}  // namespace celledit
