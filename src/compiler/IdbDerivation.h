#pragma once
// The internal database of each port, derived from the transfer blocks: every block
// contributes its address on each port whose PLC keeps an internal database (and the
// enabled control word its register); the addresses are grouped by register and node,
// sorted and packed into rows of at most the PLC's word limit.
#include "model/BlockRows.h"
#include "model/BlockTableData.h"

#include <string>
#include <vector>

// The entries of both ports from the block rows and the control word (the working lists
// of the block tables). idbCom1/idbCom2: whether the port's PLC keeps an internal database.
IdbEntries CollectIdbEntries(const BlockRows& rows, bool idbCom1, bool idbCom2);

// One row of a port's internal database.
struct IdbRow {
    std::string station;
    std::string start;  // the starting address text
    int count = 0;      // words
};

// Groups one port's entries by register, sorts them by node and address and packs them
// into rows of at most `limit` words.
std::vector<IdbRow> DeriveIdbRows(const std::vector<IdbEntry>& entries, int port, int limit);

// The starting-address text of a row: the number written into the template address in
// place of its number parts, in hexadecimal digits for a hexadecimal register.
// prefixLength keeps the register's prefix from being overwritten.
std::string FormatRowStartAddress(int number, const std::string& templ, size_t prefixLength = 0,
                                  bool hexadecimal = false);

// A row was added to a port's pane (paneRows rows now): keeps the port's default
// communication registers (one per rising station) and, for COM2, the node addresses of
// the Ethernet node table.
void AddDefCommRegisterForRow(int port, const IdbRow& row, int paneRows);

// Whether each port's PLC keeps an internal database and how many words one row holds,
// from [Plc Info] "IDB" and "limit" of the port's PLC definition file. Read with the
// PLC pair (LoadIdbSwitches); the image loader turns a switch on or off.

// Reads the switches and limits from the PLC definition files of both ports (a limit
// below 1 counts as 10).
void LoadIdbSwitches();
// The limit a port's rows are packed with.
int IdbRowLimit(int port);
