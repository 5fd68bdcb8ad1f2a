#pragma once
// Emptying the holders of the extended tables, as a new, opened or uploaded project needs.
// The dialogs of these tables call the same routines.

// Stations, addresses and codes of the default communication registers of both ports,
// their entity codes and register data; the word counts stay.
void ResetDefCommRegisters();
// The general-entity item tables, counts, codes, lengths and value buffers of both ports.
void ResetGeneralEntity();
// The recipe rows.
void ClearRecipeTables();
