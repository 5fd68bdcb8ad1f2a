#pragma once
// The texts of the internal-database panes and their codes: data types and Yes/No cells.
// The COM1 and COM2 panes differ in a few details, hence the twins.
#include <string>

// "DiscritBit"/"Input" 1, "Byte"/"Output" 2, "Word" 3, "DoubleWord" 4, "Float" 5,
// "SwapFloat" 6; any other text 0 (COM1) or 6 (COM2).
int DataTypeTextToCodeCom1(const std::string& text);
int DataTypeTextToCodeCom2(const std::string& text);
// Codes 1 to 6 as text; any other code gives an empty text.
std::string DataTypeCodeToText(int code);
// "Yes" is 1 (COM1 also takes "0" as 1); anything else 0.
int YesTextToBoolCom1(const std::string& text);
int YesTextToBoolCom2(const std::string& text);
std::string BoolToYesText(int value);
