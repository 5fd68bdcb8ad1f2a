#pragma once
// The keys an in-place editor of a block list handles itself when its view takes the
// editor's key-down events: caret movement and Delete in an edit, the choice keys of a
// drop-down list.
namespace ui {
class Control;
class ListControl;
}  // namespace ui

namespace celledit {

// Left, Right, Home, End and Delete in an edit; other keys are left alone.
void DefaultEditKey(ui::Control& edit, int vk);
// Up, Down, Home and End in a drop-down list; other keys are left alone.
void DefaultListKey(ui::ListControl& list, int vk);

}  // namespace celledit
