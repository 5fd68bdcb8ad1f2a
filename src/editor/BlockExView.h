#pragma once
// The older generation's block list: the transfer blocks of a project of an older
// product in the project level's upper right pane.
#include "ui/Frame.h"

#include <string>

class CBlockExView : public ui::View {
public:
    CBlockExView() = default;
    ~CBlockExView() override = default;

    void OnInitialUpdate() override {}
    void SetInfoText(const std::string& text) { m_strInfoText = text; }
    const std::string& GetInfoText() const { return m_strInfoText; }
    std::string GetCellText(int row, int col) const {
        (void)row;
        (void)col;
        return std::string();
    }

private:
    std::string m_strInfoText;
};
