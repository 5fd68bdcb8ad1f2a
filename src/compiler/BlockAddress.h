#pragma once
// Address texts of the block list: a bit of a word register is written as the word
// address, "_" and the bit number 0 to 15.
#include <string>

// 1 when the text contains "_".
int HasUnderscore(std::string text);
// The bit number behind the first "_" (its leading decimal number) when it is at most 15;
// 0 when it is above 15 or the text has no "_".
int SplitAtUnderscore(std::string text);
// The text in front of the first "_" (all of it when there is none).
std::string AddressPrefixPart(std::string text);
// The number of 16-bit words a run of bits covers: (count + bit) / 16, rounded up, as text.
std::string AddressNumberText(int bit, std::string countText);
// 1 when the register of the address on the port has the prefix "T", "C" or "HC".
int IsTimerCounterRegister(std::string address, int port);
