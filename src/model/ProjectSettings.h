#pragma once
// The project's settings: control word, error-indication bits, port settings, time-outs,
// advance settings and the project texts. One global instance, g_ProjectSettings.
#include <string>

class CProjectSettings {
public:
    CProjectSettings();
    virtual ~CProjectSettings() = default;

    int g_nProjectVersion = 0;
    int g_nProductNo = 0;
    std::string g_strCtrlWordAddr;
    int g_nCtrlWordSide = 0;  // 0 PLC1 (COM1), 1 PLC2 (COM2)
    int g_bCtrlWordEnabled = 0;
    std::string g_strErrBitAddr1;
    std::string g_strErrBitAddr2;
    std::string g_strCtrlWordShown;
    int g_bErrBit1Enabled = 0;
    int g_bErrBit2Enabled = 0;
    int g_nErrBit1 = 0;  // 255 when the address has no bit part
    int g_nErrBit2 = 0;
    // Per port 0, 1, 2: baud rate, data bits, parity (1 None, 2 Even, 3 Odd), stop bits.
    int g_anPortSettings[3][4] = {};
    int g_anPortTimeout[3] = {};  // units of 200 ms, 1 to 50
    // Advance-setting values: element 0 holds item Sp2, element 1 Sp3, element 2 Sp1.
    int g_anAdvSetting1[3] = {};
    int g_anAdvSetting2[3] = {};
    int g_nCtrlWordStation = 0;
    int g_nCtrlWordWords = 0;
    std::string g_strProjCreated;  // "%A, %B %d, %Y, %I:%M:%S %p"
    std::string g_strProjPath;
    std::string g_strProjModified;
    std::string g_strProjAuthor;       // at most 100 characters
    std::string g_strProjTitle;        // at most 100 characters
    std::string g_strProjDescription;  // at most 500 characters
    int g_nProjFileVersion = 0;
};

extern CProjectSettings g_ProjectSettings;

// The current local time as the project's time stamps show it: "%A, %B %d, %Y, %I:%M:%S %p".
std::string ProjectTimeStamp();

// Index names of a row of g_anPortSettings.
enum PortSettingField { kPortBaud = 0, kPortDataBits = 1, kPortParity = 2, kPortStopBits = 3 };
