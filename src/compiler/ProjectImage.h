#pragma once
// The unit's project image: a 64-byte setup record with the port settings, control word,
// error-indication bits and product identity, the block count, and one record per
// transfer block (32 bytes in the newer generation, 26 in the older). The newer download
// extends it with the internal-database images and the feature tables.
#include "model/BlockRows.h"
#include "compiler/BlockScan.h"

#include <array>
#include <string>

constexpr size_t kSetupRecordOffset = 100;
constexpr size_t kSetupRecordSize = 64;
constexpr size_t kImageBlockCountOffset = 298;
constexpr size_t kImageBlocksOffset = 300;
constexpr size_t kNewerBlockRecordSize = 32;
constexpr size_t kOlderBlockRecordSize = 26;

// Baud and data-bit codes of the image (port 1 knows the fieldbus rates; the older
// generation stops at 500000). Values outside the tables are written as their low byte.
int ImageBaudCode(int rate, int port, bool newer);
int ImageDataBitsCode(int bits);

// The setup record from the project model. Refreshes the product number and version from
// products.inf and sets the generation's slave flag when a PLC file declares a slave.
std::string BuildSetupRecord(bool newer);

std::string BuildNewerBlockRecord(const BlockRow& row, const BlockLinks& links);
// The older list's first ten columns (Block No. .. Comment).
using OlderBlockRow = std::array<std::string, 10>;
std::string BuildOlderBlockRecord(const OlderBlockRow& row);

// The whole image (the contents of WritePrj.hex).
std::string BuildNewerProjectImage(const BlockRows& rows, const BlockLinks& links);
std::string BuildOlderProjectImage(const std::vector<OlderBlockRow>& rows);

// The open project's links: the slave side is the port whose PLC file declares a slave
// driver; the three-port product has no blocks to link.
void ScanProjectBlocks(const BlockRows& rows, BlockLinks& links);
// Compiles the rows into WritePrj.hex, where the download takes the image from. false when
// the file could not be written (the caller says "Unable to create intermediate file.").
// With `image`, the bytes written are kept there too: a download sends them from memory.
bool WriteNewerProjectImage(const BlockRows& rows, std::string* image = nullptr);
bool WriteOlderProjectImage(const std::vector<OlderBlockRow>& rows, std::string* image = nullptr);

// The image the newer download sends: the project image, both internal-database images
// (each as 0x13, its row count and its rows) and, with extended setup, the feature tables.
std::string ComposeDownloadImage(const std::string& projectImage, const std::string& idbImage1,
                                 const std::string& idbImage2);
// The feature tables alone (the count byte and the present feature blocks).
std::string BuildFeatureBlocks();

// Where the images are written: the product's Projects folder, beside the working
// internal-database images.
std::string ImageWorkFolder();
std::string WritePrjPath();
std::string DummyPrjPath();
