#pragma once
// Decoding what a unit of the older generation gives back on a project upload: its driver
// identities (shared with the newer decode), the 64-byte setup record and the transfer
// blocks, which arrive one by one as fixed records of 27 bytes (product 81) or 28 bytes
// (every other product; one more byte at offset 2).
//
// Like the newer decoder it works on a copy of the project model; the open project is
// replaced only by ApplyOlderUploadedProject, once the whole exchange succeeded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/ProjectImage.h"
#include "compiler/UploadDecode.h"

struct OlderUploadedProject {
    UploadModel model;
    std::vector<OlderBlockRow> rows;  // the block list, in row order
    std::string title;                // the main window's new title; empty: unchanged
};

class COlderUploadDecoder {
public:
    // The most blocks an older project holds.
    static constexpr size_t kMaxBlocks = 255;

    explicit COlderUploadDecoder(IUploadDecodeHost& host);

    // The length of a block record as the unit returns it.
    static size_t BlockRecordSize(unsigned deviceId) { return deviceId == 81 ? 27 : 28; }

    // The 5-byte driver identities: PLC identities and register tables. -1 after message
    // 60019 when a PLC file lacks the model's section.
    int DecodeIdentities(const uint8_t* bytes);
    // The 64-byte setup record: control word, error bits, ports (three with time-outs for
    // the three-port product), advance settings less the PLC special values, product
    // number and version; the product question when the record is not marked as ours.
    void DecodeSetup(const uint8_t* record);
    // In slave mode a block may move up to 255 words.
    void ApplySlaveModeWordLimit();
    // One block record (BlockRecordSize bytes) as the next row of the list.
    void DecodeBlock(const uint8_t* record);
    // Baud and data-bit codes back into values.
    void ConvertPortCodes();
    // "Untitled - Quorvex - " and the product.
    void SetTitle();

    const OlderUploadedProject& Result() const { return m_result; }

private:
    IUploadDecodeHost& m_host;
    OlderUploadedProject m_result;
};

// Replaces the open project's model, its block rows included, by the uploaded one.
void ApplyOlderUploadedProject(const OlderUploadedProject& project);
