#include "projectfiles/OlderProjectFile.h"

#include <algorithm>

#include "model/ProjectFileFormat.h"
#include "projectfiles/ProjectFileWriter.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/StringTable.h"
#include "ui/Backend.h"
#include "ui/FrameHost.h"

using namespace prjfile;
using platform::Atoi;

std::string ProjectFileTitle(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

bool IsThreePortProduct() { return g_nDeviceId == 84 || g_nDeviceIdAlt == 84; }

// The product number and project version of the current product in products.inf (the
// values given when no entry names it).
void ReadProductIdentity(int& productNo, int& projectVersion) {
    const int count = platform::BoundedCount(Atoi(deffiles::ReadText(deffiles::ProductsInf(), "ProductList",
                                                                     "ProductCount", "Corrupt Product file ", 80)),
                                             platform::kMaxListCount, deffiles::ProductsInf(), "ProductCount");
    for (int n = 1; n <= count; ++n) {
        if (deffiles::ReadProductValue("Product", n) != g_szProductName) continue;
        productNo = Atoi(deffiles::ReadProductValue("ProductNo", n));
        projectVersion = Atoi(deffiles::ReadProductValue("ProjectVersion", n));
        return;
    }
}

int ShowBox(const std::string& text, unsigned flags = ui::MB_OK) { return ui::MessageBox(text, "Quorvex", flags); }

}  // namespace

// ---------------------------------------------------------------------------------------
// Layout

std::string BuildOlderProjectFile(const OlderBlockRows& rows, bool slaveMode, int fileVersion,
                                  const std::string& modifiedStamp) {
    const CProjectSettings& s = g_ProjectSettings;
    std::string bytes;
    FieldWriter w(bytes);
    w.Text(kFileTag, kTagWidth);
    w.Text(fileVersion == 2 ? kOlderVersion2 : kOlderVersion1, 9);

    w.Seek(kSettingsOffset);
    WriteSettingsRecord(w, IsThreePortProduct(), 17, 2);
    w.Byte('*');
    w.Byte(s.g_nProductNo);
    w.Byte(s.g_nProjectVersion);
    w.Byte('*');

    w.Seek(kBlockCountOffset);
    w.U16LE(unsigned(rows.size()));
    size_t widths[prjfile::kOlderBlockColumns];
    OlderColumnWidths(slaveMode, widths);
    for (const OlderBlockRow& row : rows) {
        for (size_t c = 0; c < prjfile::kOlderBlockColumns; ++c) {
            std::string text = row[c];
            if (c == size_t(kOlderColWords)) text = CPlcRegisterTables::FitStringToWidth(text, unsigned(widths[c]));
            w.Text(text, widths[c]);
        }
    }
    if (fileVersion == 2) {
        const std::string texts[5] = {s.g_strProjAuthor, s.g_strProjTitle, s.g_strProjCreated, modifiedStamp,
                                      s.g_strProjDescription};
        for (int i = 0; i < 5; ++i) w.Text(texts[i], kProjectTextWidths[i], kProjectTextFill);
    }
    return bytes;
}

void ParseOlderProjectHead(const std::string& bytes, OlderProjectFile& out) {
    FieldReader r(bytes);
    r.Seek(kProductRecordOffset);
    out.productStar1 = r.Byte();
    out.productNo = r.SignedByte();
    out.productVersion = r.SignedByte();
    out.productStar2 = r.Byte();
    r.Seek(0);
    out.tag = r.Raw(kTagWidth);
    out.version = r.Text(9);
    out.versionDigit = out.version.size() >= 4 ? static_cast<unsigned char>(out.version[3]) - '0' : -'0';
    r.Seek(kSettingsOffset);
    for (unsigned char& b : out.settings) b = static_cast<unsigned char>(r.Byte());
    out.ctrlWordAddr = r.Text(kAddressTextWidth);
    out.errBitAddr1 = r.Text(kAddressTextWidth);
    out.errBitAddr2 = r.Text(kAddressTextWidth);
    for (int& v : out.advSetting2) v = r.SignedByte();
}

OlderParse ParseOlderProjectRows(const std::string& bytes, bool slaveMode, bool withTexts, OlderProjectFile& out) {
    FieldReader r(bytes, kBlockCountOffset);
    out.blockCount = r.U16LE();
    out.needed = kBlockRowsOffset;
    if (bytes.size() < kBlockRowsOffset) return OlderParse::Corrupt;
    out.needed = 0;
    if (out.blockCount > unsigned(kMaxBlocks)) return OlderParse::Corrupt;
    out.needed = kBlockRowsOffset + out.blockCount * OlderRowWidth(slaveMode) + (withTexts ? kProjectTextsSize : 0);
    if (bytes.size() < kBlockRowsOffset + out.blockCount * OlderRowWidth(slaveMode)) return OlderParse::Corrupt;
    size_t widths[prjfile::kOlderBlockColumns];
    OlderColumnWidths(slaveMode, widths);
    out.rows.assign(out.blockCount, OlderBlockRow{});
    for (OlderBlockRow& row : out.rows)
        for (size_t c = 0; c < prjfile::kOlderBlockColumns; ++c) row[c] = r.Text(widths[c]);
    out.hasTexts = withTexts;
    if (withTexts) {
        if (r.Remaining() < kProjectTextsSize) return OlderParse::Corrupt;
        for (int i = 0; i < 5; ++i) out.texts[i] = r.Text(kProjectTextWidths[i]);
    }
    return OlderParse::Ok;
}

// ---------------------------------------------------------------------------------------
// Writing

std::string FindCutCell(const OlderBlockRows& rows, bool slaveMode) {
    size_t widths[prjfile::kOlderBlockColumns];
    OlderColumnWidths(slaveMode, widths);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 1; c < prjfile::kOlderBlockColumns; ++c) {
            if (rows[r][c].size() <= widths[c]) continue;
            static const char* const names[] = {"Block No.", "# Words/Bits", "Source PLC", "Source ID", "Source Address",
                                                "Destination PLC", "Destination ID", "Destination Address",
                                                "Repeat Cycle", "Comment"};
            return "Block " + std::to_string(r + 1) + ": the " + names[c] + " \"" + rows[r][c] +
                   "\" is longer than the project file keeps (" + std::to_string(widths[c]) +
                   " characters). Please correct the block and save again.";
        }
    }
    return std::string();
}

int WriteOlderProjectFile(const std::string& path, const OlderBlockRows& rows) {
    CProjectSettings& s = g_ProjectSettings;
    // A save that writes nothing leaves the project in the format it had: the next save
    // asks about the newer format again.
    const int fileVersion = s.g_nProjFileVersion, storedProductNo = s.g_nProductNo,
              storedProjectVersion = s.g_nProjectVersion;
    auto keep = [&] {
        s.g_nProjFileVersion = fileVersion;
        s.g_nProductNo = storedProductNo;
        s.g_nProjectVersion = storedProjectVersion;
        return -1;
    };
    // A cell the file cannot hold whole would come back changed: nothing is written.
    if (const std::string cut = FindCutCell(rows, g_bBlockExSlaveMode == 1); !cut.empty()) {
        ShowBox(cut, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return -1;
    }
    if (s.g_nProjFileVersion == 1 &&
        ShowBox(LoadString(IDS_CONVERT_ON_SAVE), ui::MB_YESNO | ui::MB_ICONQUESTION) == ui::IDYES)
        s.g_nProjFileVersion = 2;
    int productNo = s.g_nProductNo, projectVersion = s.g_nProjectVersion;
    ReadProductIdentity(productNo, projectVersion);
    if (IsThreePortProduct()) productNo = 84;
    s.g_nProductNo = productNo;
    s.g_nProjectVersion = projectVersion;
    const std::string stamp = s.g_nProjFileVersion == 2 ? ProjectTimeStamp() : s.g_strProjModified;
    const std::string bytes = BuildOlderProjectFile(rows, g_bBlockExSlaveMode == 1, s.g_nProjFileVersion, stamp);
    if (!HoldProjectFile(path)) return keep();
    std::string error;
    if (!ReplaceFile(path, bytes, error)) {
        // The project stays as it was, edited, so that it can be saved elsewhere.
        ShowBox("Unable to save the project to \"" + path + "\": " + error, ui::MB_OK | ui::MB_ICONHAND);
        return keep();
    }
    s.g_strProjModified = stamp;
    g_strPrjFileLastIo = path;
    g_bBlockListEdited = 0;
    ui::SetMainTitle(ProjectFileTitle(path) + " - Quorvex - " + g_szProductNameCopy);
    SettleProjectHold();
    return 0;
}

