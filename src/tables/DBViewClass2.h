#pragma once
// The internal-database pane of COM2 (splitter row 2, right column).
#include "ui/Frame.h"

class DBViewClass2 : public ui::View {
public:
    void OnInitialUpdate() override {}
    void ClearList() {}
    // Rebuilds the columns for the current COM2 layout (parameter groups for CAN).
    void ResetColumns() {}
};
