#pragma once
// The optional feature tables the two selected protocols offer (Ethernet node table, tag
// table, recipes, default communication registers, general entity), their entity codes and
// the general-entity item definitions, read from both PLC definition files. The newer block
// view runs these at its start-up, the project reader and the upload after both files are known.

void LoadExtendedSetupKeys();
void LoadGeneralEntityDefs();
