#pragma once
// The project file of the older products: the fixed part (tag, version, settings record,
// address texts, product record), the block count, the rows of the older block list and,
// in a "Ver2.00" file, the project texts. The three-port product's file has the same
// layout with its own settings record and no rows.
#include <string>

#include "model/BlockRows.h"

struct OlderProjectFile {
    std::string tag;
    std::string version;  // the 9-byte version text up to its first zero byte
    int versionDigit = 0;  // its fourth character less '0'
    unsigned char settings[19] = {};
    std::string ctrlWordAddr, errBitAddr1, errBitAddr2;
    int advSetting2[3] = {};  // file order: third, first, second value (signed bytes)
    int productStar1 = 0, productNo = 0, productVersion = 0, productStar2 = 0;
    unsigned blockCount = 0;
    size_t needed = 0;  // Corrupt: the bytes the counts need (0: a count no file holds)
    OlderBlockRows rows;  // column 0 as stored
    bool hasTexts = false;
    std::string texts[5];  // author, title, created, modified, description
};

enum class OlderParse { Ok, NotAProject, Corrupt };

// The bytes of the open project with these rows. fileVersion 2 writes "Ver2.00" and the
// project texts (with the modification stamp given), any other value "Ver1.00".
std::string BuildOlderProjectFile(const OlderBlockRows& rows, bool slaveMode, int fileVersion,
                                  const std::string& modifiedStamp);

// Reads the fixed part only (product record, tag, version, settings): enough to decide
// what the file is. Rows and texts are read by ParseOlderProjectRows.
void ParseOlderProjectHead(const std::string& bytes, OlderProjectFile& out);
// Rows (in the slave mode's row width) and texts. Corrupt: the file is shorter than its
// block count says, or announces more than 255 blocks.
OlderParse ParseOlderProjectRows(const std::string& bytes, bool slaveMode, bool withTexts, OlderProjectFile& out);

// The file's name without its folder, as titles show it.
std::string ProjectFileTitle(const std::string& path);

// The first cell of the rows that the file would cut (its message), "" when all fit.
std::string FindCutCell(const OlderBlockRows& rows, bool slaveMode);

// The save of the older editor: asks about the old format, refreshes the product number
// and project version, stamps a "Ver2.00" file, writes the file whole and sets the title.
// 0, or -1 when it could not be written (the reason was shown; the list stays edited).
int WriteOlderProjectFile(const std::string& path, const OlderBlockRows& rows);
