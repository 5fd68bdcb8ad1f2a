#include "platform/Text.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <strings.h>

namespace platform {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
}  // namespace

bool IsWholeNumber(const std::string& text) {
    const size_t from = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > from && text.find_first_not_of("0123456789", from) == std::string::npos;
}

int Atoi(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long n = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    return static_cast<int>(n);
}

std::string TrimLeft(const std::string& text) {
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) ++b;
    return text.substr(b);
}

std::string TrimRight(const std::string& text) {
    size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1])) --e;
    return text.substr(0, e);
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t pos = 0;
    for (;;) {
        size_t next = text.find(separator, pos);
        if (next == std::string::npos) {
            fields.push_back(text.substr(pos));
            break;
        }
        fields.push_back(text.substr(pos, next - pos));
        pos = next + 1;
    }
    return fields;
}

std::string Field(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string ToUpper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace platform
