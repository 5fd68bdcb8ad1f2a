#pragma once
// The "Extended Setup" dialog: one control per general-entity item of a port, built at
// run time, showing the values stored in the project (or the definition file's
// defaults) and encoding them into the port's value buffer on OK.
namespace ui {
class Window;
}

// Builds and runs the dialog for port 1 (PLC1, Com1) or 2 (PLC2, Com2); the result of
// the run.
int RunExtendedSetup(ui::Window* owner, int port);

// The size of each port's value buffer.
constexpr int kExtSetupBufferSize = 200;
