#pragma once
// Small text helpers with the C library's and the old string class's semantics.
#include <string>
#include <vector>

namespace platform {

// atoi: leading blanks, an optional sign, then decimal digits; 0 when there are none.
// Saturates instead of overflowing.
int Atoi(const std::string& text);
// A whole decimal number and nothing else: an optional sign, then digits ("5x" and "" are not).
bool IsWholeNumber(const std::string& text);

std::string TrimLeft(const std::string& text);   // blanks, tabs, line breaks
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);

// Splits at every separator: "a,,b" gives "a", "", "b"; an empty text gives one empty field.
std::vector<std::string> Split(const std::string& text, char separator);

// Field i (0-based) of a separated text, empty when the text has fewer fields.
std::string Field(const std::vector<std::string>& fields, size_t i);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

bool EqualsNoCase(const std::string& a, const std::string& b);
std::string ToUpper(std::string text);

}  // namespace platform
