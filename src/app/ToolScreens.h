#pragma once
// The unit tools' screens, handed to the frame's and the newer block view's entry points.
struct FrameServices;
struct NewBlockExServices;

void WireToolScreens(FrameServices& frame, NewBlockExServices& editor);
