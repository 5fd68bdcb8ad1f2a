#pragma once
// The internal-database panes of COM1 (splitter row 1) and COM2 (row 2) in the right
// column of the main window.
#include "ui/Frame.h"

class DBViewClass1 : public ui::View {
public:
    void OnInitialUpdate() override {}
    void ClearList() {}
};

class DBViewClass2 : public ui::View {
public:
    void OnInitialUpdate() override {}
    void ClearList() {}
    // Rebuilds the columns for the current COM2 layout (parameter groups for CAN).
    void ResetColumns() {}
};
