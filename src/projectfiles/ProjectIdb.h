#pragma once
// The newer products' internal databases in the model: the rows of both ports derived from
// the transfer blocks, written to the image files and loaded back from them. All of it works
// on the model's rows, with or without the panes; the panes show those rows and are told
// when a port's rows were made anew.
#include "model/BlockRows.h"
#include "model/BlockTableData.h"
#include "compiler/IdbDerivation.h"

#include <array>
#include <functional>
#include <string>

// Columns of an internal-database row, as the panes show them.
enum IdbColumn {
    kIdbColLabel = 0, kIdbColNode, kIdbColStart, kIdbColDataType, kIdbColWords, kIdbColScaling,
    kIdbColSkipCycles, kIdbColSkipOnFail, kIdbColFailValue
};

// The working lists: each port's entries from the blocks and the enabled control word;
// also copied into the block tables.
void FillBlockTables(const BlockRows& rows);
const IdbEntries& CurrentIdbEntries();
// Empties the working lists.
void ClearIdbEntries();
// Derives the rows of both ports from the working lists.
void FillIdbViews();
// Writes both image files from the rows (the working pair while the project is modified,
// else the project's pair) and keeps each row's choices for the next derivation. With
// `written`, the bytes of the COM1 and COM2 images are kept there too.
void WriteIdbImages(std::array<std::string, 2>* written = nullptr);
// FillBlockTables, FillIdbViews, WriteIdbImages.
void BuildIdbImage(const BlockRows& rows, std::array<std::string, 2>* written = nullptr);
// Reads the image files (the upload's working pair while g_bIdbModified is 1, else the
// pair of the project last loaded or written) into the rows. 0, or -1 when a file
// cannot be read.
int LoadIdbImages();

// What the save commands know when they have written the project file.
struct IdbSaveState {
    bool firstSave = false;        // an untitled project saved for the first time, or Save As
    bool blockListEdited = false;  // the block list changed since the last derivation
    bool ctrlWordConfirmed = false;  // the control-word dialog was confirmed since
    bool saveAs = false;  // Save As: the rows are written as they stand unless derived above
};
// Brings the rows and the images up to date after the project file was written: derives
// again what changed, keeps the rows edited by hand and the user's choices.
void UpdateIdbAfterSave(const BlockRows& rows, const IdbSaveState& state);

// The stored choices of a port's row with this node and starting address: the index into
// the settings tables of the block tables, -1 when none is stored.
int FindStoredIdbRow(int port, const std::string& station, const std::string& address);
// Forgets the stored choices (a new project).
void ClearStoredIdbRows();

// The cells a derived row of the normal layout takes from its starting address: data type,
// scaling, skip count, skip on failure and fail value, the user's stored choices kept.
void FillNormalIdbRow(int port, IdbPaneRow& row);
// The same for a parameter group of the CAN layout of COM2 (its PGN in the start column).
void FillCanIdbRow(int index, IdbPaneRow& row);
// Whether COM2 shows parameter groups: a CAN driver on COM2 of a product that has them.
bool Com2ShowsParameterGroups();
// Decides g_bCom2IsCAN from the product's DeviceID and the COM2 driver: the layout of the
// COM2 rows (parameter groups or registers) that the derivation and the pane follow.
void DecideCom2Layout();
// A parameter group's length from the product's PGNLength.inf (0 when it is no number);
// variable: the file says its length is "variable".
int LookupPgnLength(const std::string& pgn, bool& variable);
