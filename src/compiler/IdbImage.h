#pragma once
// The image files of the internal databases, one per port, in the layout the unit
// receives: 19 bytes per row, then the row count. A file of length 0 means the port has
// no internal database.
#include <array>
#include <string>
#include <vector>

#include "model/BlockTableData.h"


constexpr size_t kIdbRowSize = 19;
constexpr size_t kMaxIdbRows = 255;
constexpr size_t kMaxIdbImageRead = 5000;

// The per-row settings the writer keeps for the next derivation.
struct IdbRowSettings {
    int dataType = 0;
    int column5 = 0;
    int skip = 0;
    int failValue = 0;
    std::string start;
};

// The image of a pane's rows (at most 255 are stored). settings, when given, receives one
// entry per stored row.
std::string EncodeIdbImage(const std::vector<IdbPaneRow>& rows, int port,
                           std::vector<IdbRowSettings>* settings = nullptr);

// The pane rows of an image (at most its first 5000 bytes are read). com2Can: the COM2
// pane uses the parameter-group layout; plc2Id: the COM2 PLC number.
std::vector<IdbPaneRow> DecodeIdbImage(const std::string& bytes, int port, bool com2Can,
                                       const std::string& plc2Id);

// Whether an image holds what the layout allows: whole rows and the count byte that
// matches them, each row with a known data type and a printable address key. false with
// what is wrong otherwise. An empty image (no internal database) is sound.
bool CheckIdbImage(const std::string& bytes, std::string& reason);

// The displayed address of a stored register text.
std::string RebuildIdbAddress(const std::string& registerText, int port, bool bitMode);

// Where the images lie: beside the project ("<project less .prj>_IDB1.hex"), or in the
// product's Projects folder while the project is modified or was uploaded.
std::string ProjectIdbPath(const std::string& projectPath, int port);
std::string WorkingIdbPath(const std::string& product, int port);
