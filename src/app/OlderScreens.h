#pragma once
// The older products' screens as the main window reaches them: the project reader, the
// three-port product's reader and the older case of the save on closing.
struct FrameServices;
struct NewBlockExServices;

void WireOlderScreens(FrameServices& frame, NewBlockExServices& editor);
