#pragma once
// The newer generation's block list: the transfer blocks of a project in the project
// level's upper right pane.
#include "ui/Frame.h"

#include <string>

class CNewBlockExView : public ui::View {
public:
    CNewBlockExView();
    ~CNewBlockExView() override;

    void OnInitialUpdate() override;
    // The text of the info window under the list (hidden while blank).
    void SetInfoText(const std::string& text);
    const std::string& GetInfoText() const { return m_strInfoText; }
    // A cell of the block list ("" outside the list).
    std::string GetCellText(int row, int col) const;

private:
    std::string m_strInfoText;
};

// The newer block view while one exists, else null.
extern CNewBlockExView* g_pNewBlockExView;
