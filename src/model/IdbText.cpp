#include "model/IdbText.h"

namespace {
int DataTypeCode(const std::string& text, int otherwise) {
    if (text == "DiscritBit" || text == "Input") return 1;
    if (text == "Byte" || text == "Output") return 2;
    if (text == "Word") return 3;
    if (text == "DoubleWord") return 4;
    if (text == "Float") return 5;
    if (text == "SwapFloat") return 6;
    return otherwise;
}
}  // namespace

int DataTypeTextToCodeCom1(const std::string& text) { return DataTypeCode(text, 0); }
int DataTypeTextToCodeCom2(const std::string& text) { return DataTypeCode(text, 6); }

std::string DataTypeCodeToText(int code) {
    static const char* const kTexts[] = {"DiscritBit", "Byte", "Word", "DoubleWord", "Float", "SwapFloat"};
    return code >= 1 && code <= 6 ? kTexts[code - 1] : "";
}

int YesTextToBoolCom1(const std::string& text) { return text == "Yes" || text == "0" ? 1 : 0; }
int YesTextToBoolCom2(const std::string& text) { return text == "Yes" ? 1 : 0; }
std::string BoolToYesText(int value) { return value ? "Yes" : "No"; }
