#pragma once
// Decoding what a unit of the newer generation gives back on a project upload: its driver
// identities (PLC identities and register tables), the 64-byte setup record (settings and
// product choice) and the project image (block rows, internal-database images, feature
// tables).
//
// The decoder never touches the open project. It starts from a copy of the project model
// and decodes into that copy; the model routines it relies on (register-table loading,
// address formatting, feature keys) run on the copy while it is briefly put in place of
// the model, and the model is put back before the decoder returns. Only
// ApplyUploadedProject, called once the whole exchange succeeded, replaces the open
// project.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ExtendedTables.h"
#include "model/ProjectSettings.h"
#include "model/BlockRows.h"
#include "compiler/IdbImage.h"
#include "plc/PlcRegisterTables.h"

// Paths of the internal-database images the last upload wrote; the pane loader reads
// these while g_bIdbModified is 1.
extern std::string g_szUploadIdbFile1;
extern std::string g_szUploadIdbFile2;

// Texts of the decode.
inline const std::string kMsgPlcFileError =  // string 60019
    "This error has occured due to one of the following reasons -\n1) You are trying to open a "
    "project which is created for different product.\n 2) PLC file is corrupt or not found.";
inline const std::string kMsgReadUploadFile = "Error in Reading UpLoadPrj.hex File !";
inline const std::string kMsgReadFile = "Error in Reading File !";
inline const std::string kMsgCreateIntermediate = "Unable to create intermediate file.";

// What the decoder asks of the window.
class IUploadDecodeHost {
public:
    virtual ~IUploadDecodeHost() = default;
    // A modal message; returns the button pressed.
    virtual int ShowMessage(const std::string& text, const std::string& caption,
                            unsigned flags) = 0;
    // The project names no product of this program ("Warning : Project version
    // mismatch"): the user picks one. False when the question was cancelled.
    virtual bool AskProductForProject(std::string& /*product*/) { return false; }
};

// The part of the project model an upload rebuilds.
struct UploadModel {
    CPlcRegisterTables tables;
    CProjectSettings settings;
    std::string productName, productPath, productNameCopy;
    CEthNodeTable nodes;
    CEipTagTable tags;
    CRecipeTables recipes;
    CDefCommRegTables defCommRegs;
    CGeneralEntityTables generalEntity;
    int extendedSetup = 0, featureCount = 0;
    int ethernetSetting = 0, tagTable = 0, recipesCom1 = 0, recipesCom2 = 0;
    int attachRegCom1 = 0, attachRegCom2 = 0, generalEntityCom1 = 0, generalEntityCom2 = 0;
    int usesPlc141 = 0, defCommRegFill = 0, extSetupError1 = 0, extSetupError2 = 0;
    int recipeState = 0, newProject = 0, com2IsCan = 0;
    int blockExSaved = 0, blockExSlaveMode = 0, slaveMode = 0;  // the register-table reset clears these

    // Exchanges every member with its global.
    void SwapWithGlobals();
    // A copy of the globals.
    static UploadModel FromGlobals();
    // What a project received from a unit starts from: the product, the PLC identities and
    // register tables as they stand (the unit's identities replace them), every setting,
    // extended table and feature of the project reset. Nothing else of the open project
    // goes into it.
    static UploadModel Fresh();
};

// What the decoders of both generations share.
namespace uploaddecode {
// The model routines work on the globals: the copy being decoded stands in their place for
// as long as one of these lives.
class Staged {
public:
    explicit Staged(UploadModel& model) : m_model(model) { m_model.SwapWithGlobals(); }
    ~Staged() { m_model.SwapWithGlobals(); }
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;

private:
    UploadModel& m_model;
};

// A register text of the unit: the bytes up to the first zero byte, at most nine.
std::string RegisterText(const uint8_t* bytes);

// The port settings of the setup record (bytes 32 on), the three-port product's time-outs
// (44 on), or the advance settings (40 on), with each PLC special value taken off.
void DecodePortSettings(CProjectSettings& s, const CPlcRegisterTables& t, const uint8_t* r);
}  // namespace uploaddecode

// The decoded project.
struct UploadedProject {
    UploadModel model;
    bool imageDecoded = false;  // the project image came and was decoded
    BlockRows rows;             // the block list, in row order
    // The internal-database image files (empty: length 0) and their pane rows.
    std::string idbImage1, idbImage2;
    std::vector<IdbPaneRow> idbRows1, idbRows2;
    std::string title;          // the main window's new title; empty: unchanged
};

class CUploadDecoder {
public:
    // Upper bounds of what the model's tables hold.
    static constexpr size_t kMaxRecordSize = 60;
    static constexpr size_t kMaxNodes = kMaxEthNodes;
    static constexpr size_t kMaxTags = 255;
    static constexpr size_t kMaxRegisterRows = 150;  // recipes, default registers
    static constexpr size_t kMaxWordCounts = 200;
    static constexpr size_t kMaxExtSetup = 200;

    explicit CUploadDecoder(IUploadDecodeHost& host);

    // The 5-byte driver identities: PLC identities, register tables, block word limit.
    // -1 after message 60019 when a PLC file lacks the model's section.
    int DecodeIdentities(const uint8_t* bytes);
    // The 64-byte setup record: settings, product choice (may ask the user), the block
    // record size; the PLC special values are taken off the advance settings at once.
    void DecodeSetup(const uint8_t* record);
    // In slave mode the block word limit follows the slave driver.
    void ApplySlaveModeWordLimit();
    // The project image as received (lead byte, block count, records, internal-database
    // parts, feature records, padding). 0, or -1 after a message.
    int DecodeImage(const std::string& image);
    // Baud and data-bit codes of the three ports back into values.
    void ConvertPortCodes();
    // "Untitled - Quorvex - " and the product.
    void SetTitle();

    const UploadedProject& Result() const { return m_result; }
    int BlockRecordSize() const { return m_nRecordSize; }

private:
    int DecodeFeatures(const std::string& image, size_t& pos);
    std::string DecodeAddress(const std::string& registerText, int kind, int port,
                              bool tryOtherKind = false) const;

    IUploadDecodeHost& m_host;
    UploadedProject m_result;
    int m_nRecordSize = -1;  // not looked up yet
    int m_bExtendedSetupRecord = -1;  // byte 60 of the setup record; -1 before it came
};

// Replaces the open project by the uploaded one (after the one reset of the open project): the model, and when the image came, the
// internal-database image files in the product's Projects folder (their paths kept in
// g_szUploadIdbFile1/2) and g_bIdbModified. A file that cannot be written shows
// "Unable to create intermediate file." and the rest goes on.
void ApplyUploadedProject(const UploadedProject& project, IUploadDecodeHost& host);
