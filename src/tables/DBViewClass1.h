#pragma once
// The internal-database panes of COM1 (splitter row 1) and COM2 (row 2) in the right
// column of the main window.
#include "ui/Frame.h"

class DBViewClass1 : public ui::View {
public:
    void OnInitialUpdate() override {}
    void ClearList() {}
};
