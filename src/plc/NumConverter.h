#pragma once
// Digit texts to numbers by number-system code: 0 and 2 read in base 10, 1 in base 16.
#include <string>

class CNumConverter {
public:
    virtual ~CNumConverter() = default;
    // The value, saturated to the 32-bit range; 0 for an empty text or another code.
    int TextToNumber(const std::string& text, int code) const;
    double TextToDouble(const std::string& text, int code) const;
};

extern CNumConverter g_BlockNumConverter;  // the register address dialog
extern CNumConverter g_DlgNumConverter;    // the older address dialog and the settings dialogs
