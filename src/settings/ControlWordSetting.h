#pragma once
// The frame's "Control Word Setting..." (mode 1) and "Error Indication Bit Setting..."
// (mode 2): the dialog of the active editor generation, run modally.
void RunControlWordDialog(bool newer, int mode);
