#pragma once
// The optional feature sections of the newer project file (Ethernet nodes, EtherNet/IP
// tags, recipes, default communication registers of each port, general entity of each
// port), written from and read into the holders of the extended tables.
//
// Readers return false when the section runs past the end of the file or past what the
// format allows (a corrupt file); what they read up to there stays in the holders.
#include "model/ExtendedTables.h"
#include "model/ProjectFileFormat.h"

namespace prjfile {

// Largest contents a section may carry.
inline constexpr size_t kMaxNodes = kMaxEthNodes;
inline constexpr size_t kMaxTagName = 39;
inline constexpr size_t kMaxRecipeAddress = 24;
inline constexpr size_t kMaxAttachRegAddress = 27;
inline constexpr size_t kMaxAttachRegRows = 200;
inline constexpr size_t kMaxExtSetupBytes = 200;

void WriteNodeTableSection(FieldWriter& w);
void WriteTagTableSection(FieldWriter& w);
void WriteRecipeSection(FieldWriter& w);
// Also rebuilds the port's register keys; an empty words list gets "1" for every row.
void WriteAttachRegSection(FieldWriter& w, int port);
// Section 6 when the COM1 general entity is on, then section 7 for COM2.
void WriteGeneralEntitySections(FieldWriter& w);

bool ReadNodeTableSection(FieldReader& r);
bool ReadTagTableSection(FieldReader& r);
bool ReadRecipeSection(FieldReader& r);
bool ReadAttachRegSection(FieldReader& r, int port);
bool ReadGeneralEntitySections(FieldReader& r);
// One of them: the general settings of COM1 (port 1) or COM2.
bool ReadGeneralEntitySection(FieldReader& r, int port);

}  // namespace prjfile
