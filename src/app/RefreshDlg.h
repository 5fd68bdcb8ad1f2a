#pragma once
// Runs modally for a moment and ends itself, so that the window events waiting during
// a long transfer (paint, timers) are handled between its steps. Shows nothing.
#include "ui/Dialog.h"

class CRefreshDlg : public ui::Dialog {
public:
    explicit CRefreshDlg(ui::Window* parent = nullptr);
    bool OnInitDialog() override;
    void OnTimer(int id) override;
};
