#pragma once
// What the address checks need of the block editors: the information windows of the two
// block views and the cells of the older block list. The frame implements it once the
// views exist; until then the checks run without a host and show nothing.
#include <string>

class IBlockEditorHost {
public:
    virtual ~IBlockEditorHost() = default;
    // Info window of the older block view.
    virtual void ShowInfoText(const std::string& text) = 0;
    // Info window of the newer block view.
    virtual void ShowNewInfoText(const std::string& text) = 0;
    // Text of a cell of the active older block list (row 0-based, column as listed).
    virtual std::string GetOlderBlockCellText(int row, int column) = 0;
    // Text of a cell of the newer block list.
    virtual std::string GetNewerBlockCellText(int row, int column) = 0;
    // A message box with the Windows flags (MB_OK 0, MB_ICONINFORMATION 0x40, ...).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

void SetBlockEditorHost(IBlockEditorHost* host);
IBlockEditorHost* GetBlockEditorHost();

// Convenience: forward to the host when there is one.
void ShowInfoText(const std::string& text);
void ShowNewInfoText(const std::string& text);
