#include "model/IpAddress.h"

#include "platform/Text.h"

std::string FormatIpAddress(unsigned a, unsigned b, unsigned c, unsigned d) {
    return platform::Format("%u.%u.%u.%u", a & 0xFF, b & 0xFF, c & 0xFF, d & 0xFF);
}

void ParseIpAddress(const std::string& text, uint8_t& a, uint8_t& b, uint8_t& c, uint8_t& d) {
    uint8_t* out[4] = {&a, &b, &c, &d};
    for (uint8_t* o : out) *o = 0;
    int part = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size() && part < 4; ++i) {
        if (i == text.size() || text[i] == '.' || text[i] == '\r' || text[i] == '\n') {
            if (i > start)  // empty pieces (two separators in a row) are no part
                *out[part++] = static_cast<uint8_t>(platform::Atoi(text.substr(start, i - start)) & 0xFF);
            start = i + 1;
        }
    }
}

bool ReadIpAddress(const std::string& text, uint8_t octets[4]) {
    const std::string t = platform::Trim(text);
    unsigned values[4] = {0, 0, 0, 0};
    size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= t.size() || t[pos] != '.') return false;
            ++pos;
        }
        size_t digits = 0;
        while (pos < t.size() && t[pos] >= '0' && t[pos] <= '9' && digits < 4) {
            values[part] = values[part] * 10 + unsigned(t[pos] - '0');
            ++pos, ++digits;
        }
        if (digits == 0 || digits > 3 || values[part] > 255) return false;
    }
    if (pos != t.size()) return false;
    for (int i = 0; i < 4; ++i) octets[i] = uint8_t(values[i]);
    return true;
}
