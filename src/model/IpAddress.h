#pragma once
// The one pair of conversions between four IP octets and dotted text, used by the node
// table, the project files and the transfers.
#include <cstdint>
#include <string>

// "%u.%u.%u.%u" of the low 8 bits of each number.
std::string FormatIpAddress(unsigned a, unsigned b, unsigned c, unsigned d);
// Splits at '.', CR and LF; at most the first four parts in base 10, low 8 bits each;
// octets without a part are 0.
void ParseIpAddress(const std::string& text, uint8_t& a, uint8_t& b, uint8_t& c, uint8_t& d);
// True when the text (blanks around it aside) is four decimal numbers 0 to 255 joined by
// '.', and then the octets are set; an address that does not fit is never bent into one.
bool ReadIpAddress(const std::string& text, uint8_t octets[4]);
