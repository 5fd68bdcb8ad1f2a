#pragma once
// The fields of a register type as both address dialogs read them, and the address texts
// both dialogs build from them.
#include <string>

// Field 1-10 of register type r on the port (1: PLC1, else PLC2): name, kind, number
// system, prefix, lowest and highest number part, lowest and highest colon part, lowest
// and highest slash part. Empty for another field or a type the port does not have.
std::string RegisterTypeField(int port, int r, int field);

// Register type r's range text on the port, as the dialogs show it.
std::string RegisterRangeText(int port, int r);
// The address of register type r on the port with these parts: the type's prefix, then
// the parts in the port's format.
std::string ComposeRegisterAddress(int port, int r, const std::string& number, const std::string& colon,
                                   const std::string& slash);
// Part 0 (number), 1 (colon) or 2 (slash) of an address of register type r on the port.
std::string RegisterAddressPart(int port, int r, const std::string& address, int part);

// The text without the blanks before and after it.
std::string TrimBlanks(const std::string& text);
