#pragma once
// Reading a project file of the newer generation into the model: the fixed part, the rows
// and the texts are parsed and checked against the file's size before anything of the open
// project changes; then the file becomes the open project. The screens then show it.
#include "model/BlockRows.h"

#include <functional>
#include <string>
#include <vector>

struct NewerProjectFile {
    std::string tag;
    int formatNumber = 0;      // offset 16, signed
    unsigned char settings[19] = {};
    std::string ctrlWordAddr, errBitAddr1, errBitAddr2;
    int advSetting2[3] = {};   // file order: third, first, second value
    int productStar1 = 0, productNo = 0, productVersion = 0, productStar2 = 0;  // number and version signed
    int ctrlWordStation = 0, ctrlWordWords = 0, errBit1 = 0, errBit2 = 0, extendedSetup = 0;
    BlockRows rows;            // column 0 as stored (the loader numbers the rows itself)
    bool hasTexts = false;
    std::string texts[5];      // author, title, created, modified, description
    size_t sectionsOffset = 0;
    unsigned blockCount = 0;
    size_t needed = 0;         // Corrupt: the bytes the counts need (0: a count no file holds)
};

enum class ProjectParse { Ok, NotAProject, Corrupt };

// Parses the fixed part, rows and texts. NotAProject: the tag is not ours; Corrupt: the
// file is shorter than its own counts say, or holds more than 255 rows.
ProjectParse ParseNewerProjectFile(const std::string& bytes, NewerProjectFile& out);

// Which optional sections a pair of PLC definition files declares (as the feature keys
// read them), without changing the project.
struct FeatureSet {
    bool extended = false, ethernet = false, tags = false, recipes = false;
    bool attach1 = false, attach2 = false, entity1 = false, entity2 = false;
    int entityBytes1 = -1, entityBytes2 = -1;  // the bytes the items of each general settings take
};
FeatureSet ReadFeatureSet(const std::string& plc1File, const std::string& plc2File);

// Where the reading of the optional sections ended: the sections the file ended before
// (their names, in file order) and the bytes left after the last section read.
struct SectionsEnd {
    std::vector<std::string> missing;
    size_t trailing = 0;
    std::string broken;        // the section that does not fit in the file (reading failed)
};

// True when the optional sections of the file, read with these features from the offset,
// are all within the file and within the format's bounds. The project is not changed.
bool CheckFeatureSections(const std::string& bytes, size_t offset, const FeatureSet& features,
                          SectionsEnd* end = nullptr);

// A file opens without a word only when it reads as this program's writer would have
// written it: rows and texts with the writer's fill, every promised section in its place
// and written back byte for byte as the file holds it. Returns "" for such a file (with
// the sections it ends before in `missing`), else the damage as the message names it:
// a count that does not match what the file holds, a section out of its place, bytes
// after the whole project, a cut. The project is not changed. definitionsChanged: set
// when the file reads whole with the feature keys of other PLC definition files (those it
// was saved with); the text then names the difference.
std::string CheckNewerProjectFile(const std::string& bytes, const FeatureSet& features,
                                  std::vector<std::string>& missing, bool* definitionsChanged = nullptr);

// What the newer block list reads of its PLC pair into the model, for a new project and an
// opened one alike: the transfer mode, the slave mode and block layout, the internal-
// database switches, the CAN drivers, the feature keys and what the download commands
// may offer.
void LoadNewerPlcPairState();
// Of that, what follows from the PLC pair's files alone and is not part of a project file
// or an upload: the slave mode and block layout, the internal-database switches, the CAN
// drivers and the download commands. A project taken from a unit gets it from the unit's pair.
void LoadNewerPlcPairLayout();
// Whether the COM2 driver is one of the product's CAN drivers: a match in the list sets
// g_bCom2IsCAN and ends the scan, each other entry clears it; an empty list leaves it.
void UpdateCom2IsCan();

// What opening asks of the program around it: the product of a file that names none (the
// version-mismatch question). Without it, or when it is declined, the file is not opened.
struct ProjectOpenHooks {
    std::function<bool(std::string& product)> askProduct;
};

enum class ProjectOpenResult {
    Opened,       // the model holds the file's project
    NotOpened,    // the reason was shown, or the question declined; the open project stays
    ThreePort,    // the three-port product is chosen: its own reader takes the file
    OlderEditor,  // the file's product keeps its projects in the older editor
    NewerEditor,  // the file's product keeps its projects in the newer editor
};

// Opens a project of the newer products into the model: settings, PLC register tables,
// block rows, project texts and feature tables. unreadable: the blocks (from 1) whose
// addresses were not valid for their PLC and were left out.
ProjectOpenResult OpenNewerProject(const std::string& path, const ProjectOpenHooks& hooks,
                                   std::vector<int>& unreadable);
// The message that names those blocks (nothing when there are none).
void ReportUnreadableAddresses(const std::vector<int>& blocks);
