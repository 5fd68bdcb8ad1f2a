#pragma once
// The About box: the program's name, version, maker and copyright, as whoever installs
// the program writes them in Products\CustomizeInfo.inf.
#include <string>

#include "ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
public:
    explicit CAboutDlg(ui::Window* parent = nullptr);
    bool OnInitDialog() override;

    std::string m_strUrl;  // the link address of the file (kept; no control opens it)
};
