#include "qt/QtText.h"

namespace qtbind {

namespace {

// Windows-1252 0x80..0x9F; 0 where the code page leaves the byte undefined.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

QString FromAnsi(const std::string& text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80]) out += QChar(kHigh[c - 0x80]);
        else out += QChar(char16_t(c));
    }
    return out;
}

std::string ToAnsi(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || ((u >= 0x80 && u <= 0x9F) && !kHigh[u - 0x80])) {
            out += char(u);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == u) mapped = char(0x80 + i);
        out += mapped;
    }
    return out;
}

QString LabelText(const std::string& text) {
    QString in = FromAnsi(text), out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == QLatin1Char('&')) {
            if (i + 1 < in.size() && in[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

}  // namespace qtbind
