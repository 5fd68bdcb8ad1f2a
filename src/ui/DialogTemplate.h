#pragma once
// A dialog template: caption, font, size and the controls with their ids, texts and
// rectangles in dialog units, as the resource files of src/res/ give them.
#include <string>
#include <vector>

#include "ui/Types.h"

namespace ui {

namespace dlgstyle {
constexpr unsigned kCaption = 0x0001;   // title bar
constexpr unsigned kSysMenu = 0x0002;   // close box
constexpr unsigned kModalFrame = 0x0004;
constexpr unsigned kChild = 0x0008;     // a property page or a pane
constexpr unsigned kCenter = 0x0010;    // centred on the screen / its owner
constexpr unsigned kBorder = 0x0020;
constexpr unsigned kPopup = 0x0040;
constexpr unsigned kHidden = 0x0080;   // runs its modal loop without being shown
constexpr unsigned kStandard = kCaption | kSysMenu | kModalFrame | kCenter;
}  // namespace dlgstyle

struct ControlTemplate {
    ControlKind kind = ControlKind::Label;
    int id = -1;
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    unsigned styles = 0;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int cx = 0, cy = 0;  // dialog units
    unsigned styles = dlgstyle::kStandard;
    std::string fontFace = "MS Sans Serif";
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;
};

// The program's template with this id; null when there is none. The templates are data of
// res/, which defines this lookup.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace ui
