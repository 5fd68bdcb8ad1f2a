#include "plc/NumConverter.h"

#include <climits>

CNumConverter g_BlockNumConverter;
CNumConverter g_DlgNumConverter;

double CNumConverter::TextToDouble(const std::string& text, int code) const {
    int base;
    if (code == 0 || code == 2) base = 10;
    else if (code == 1) base = 16;
    else return 0;

    // Every character counts: digits and letters by their value, anything else by its
    // character code, as the unit's tables were always read.
    double sum = 0;
    double weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        unsigned char c = static_cast<unsigned char>(*it);
        int value;
        if (c >= '0' && c <= '9') value = c - '0';
        else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
        else value = c;
        sum += value * weight;
        weight *= base;
    }
    return sum;
}

int CNumConverter::TextToNumber(const std::string& text, int code) const {
    double sum = TextToDouble(text, code);
    if (sum >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (sum <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(sum);
}
