#pragma once
// The fields of a register type as both address dialogs read them.
#include <string>

// Field 1-10 of register type r on the port (1: PLC1, else PLC2): name, kind, number
// system, prefix, lowest and highest number part, lowest and highest colon part, lowest
// and highest slash part. Empty for another field or a type the port does not have.
std::string RegisterTypeField(int port, int r, int field);
