#pragma once
// Reading a project file of the newer generation: the fixed part, the rows and the texts
// are parsed and checked against the file's size before anything of the open project
// changes; the main frame then loads them (CMainFrame::LoadProjectFile).
#include "model/BlockRows.h"

#include <string>

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
};
FeatureSet ReadFeatureSet(const std::string& plc1File, const std::string& plc2File);

// True when the optional sections of the file, read with these features from the offset,
// are all within the file and within the format's bounds. The project is not changed.
bool CheckFeatureSections(const std::string& bytes, size_t offset, const FeatureSet& features);
