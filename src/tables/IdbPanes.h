#pragma once
// The newer editor's side of the internal databases: the rows of both panes derived from
// the transfer blocks, written to the image files and loaded back from them. The block
// view's members of the same names forward here with its rows; the panes are found
// through g_pDBView1 and g_pDBView2.
#include "model/BlockRows.h"
#include "compiler/IdbDerivation.h"

#include <string>

// The working lists: each port's entries from the blocks and the enabled control word;
// also copied into the block tables.
void FillBlockTables(const BlockRows& rows);
const IdbEntries& CurrentIdbEntries();
// Empties the working lists.
void ClearIdbEntries();
// Derives the rows of both panes from the working lists.
void FillIdbViews();
// Writes both image files from the panes (the working pair while the project is
// modified, else the project's pair) and keeps each row's choices for the next derivation.
void WriteIdbImages();
// FillBlockTables, FillIdbViews, WriteIdbImages.
void BuildIdbImage(const BlockRows& rows);
// Reads the image files (the upload's working pair while g_bIdbModified is 1, else the
// pair of the project last loaded or written) into the panes. 0, or -1 when a file
// cannot be read.
int LoadIdbImages();

// What the save commands know when they have written the project file.
struct IdbSaveState {
    bool firstSave = false;        // an untitled project saved for the first time, or Save As
    bool blockListEdited = false;  // the block list changed since the last derivation
    bool ctrlWordConfirmed = false;  // the control-word dialog was confirmed since
    bool saveAs = false;  // Save As: the panes are written as they stand unless derived above
};
// Brings the panes and the images up to date after the project file was written: derives
// again what changed, keeps the rows edited by hand and the user's choices.
void UpdateIdbAfterSave(const BlockRows& rows, const IdbSaveState& state);

// The stored choices of a port's row with this node and starting address: the index into
// the settings tables of the block tables, -1 when none is stored.
int FindStoredIdbRow(int port, const std::string& station, const std::string& address);
// Forgets the stored choices (a new project).
void ClearStoredIdbRows();
