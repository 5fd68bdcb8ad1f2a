#include "compiler/OlderUploadDecode.h"

#include <algorithm>

#include "model/RunTimeState.h"
#include "plc/OpenProjectReset.h"
#include "compiler/IdbImage.h"
#include "plc/DefinitionFiles.h"
#include "platform/Text.h"

namespace {

using uploaddecode::RegisterText;
using uploaddecode::Staged;

// The rates of the baud codes 1 to 17.
constexpr int kBaudRates[17] = {110,    300,    600,    1200,   2400,   4800,   9600,   19200, 38400,
                                57600,  115200, 128000, 187500, 256000, 125000, 250000, 500000};

}  // namespace

COlderUploadDecoder::COlderUploadDecoder(IUploadDecodeHost& host) : m_host(host) {
    m_result.model = UploadModel::Fresh();
}

int COlderUploadDecoder::DecodeIdentities(const uint8_t* bytes) {
    // The identities are the same in both generations: the newer decoder does them on a
    // copy of the same model.
    CUploadDecoder identities(m_host);
    if (identities.DecodeIdentities(bytes) != 0) return -1;
    m_result.model = identities.Result().model;
    return 0;
}

void COlderUploadDecoder::DecodeSetup(const uint8_t* r) {
    UploadModel& m = m_result.model;
    {
        Staged staged(m);
        CProjectSettings& s = g_ProjectSettings;
        const CPlcRegisterTables& t = g_PlcRegisterTables;

        s.g_bCtrlWordEnabled = r[0];
        s.g_nCtrlWordSide = r[1];
        if (r[0] == 1) s.g_strCtrlWordAddr = RebuildIdbAddress(RegisterText(r + 2), r[1] == 0 ? 1 : 2, false);
        s.g_bErrBit1Enabled = r[11];
        if (r[11] == 1) s.g_strErrBitAddr1 = RebuildIdbAddress(RegisterText(r + 12), 1, true);
        s.g_bErrBit2Enabled = r[21];
        if (r[21] == 1) s.g_strErrBitAddr2 = RebuildIdbAddress(RegisterText(r + 22), 2, true);

        // The special values are taken off whether or not the blocks follow.
        uploaddecode::DecodePortSettings(s, t, r);
        s.g_nProductNo = r[49];
        s.g_nProjectVersion = r[50];

        const int count = deffiles::ReadProductCount();
        for (int n = 1; n <= count; ++n) {
            if (platform::Atoi(deffiles::ReadProductValue("ProductNo", n)) != s.g_nProductNo) continue;
            g_szProductName = g_szProductPath = g_szProductNameCopy = deffiles::ReadProductName(n);
            break;
        }
    }
    // The question runs with the open project in place.
    if (r[48] != '*' || r[51] != '*') {
        std::string product;
        if (m_host.AskProductForProject(product)) m.productName = m.productPath = m.productNameCopy = product;
    }
}

void COlderUploadDecoder::ApplySlaveModeWordLimit() {
    // The slave mode is the uploaded PLC pair's, as the older reader takes it from a file:
    // the COM2 PLC's definition decides, else the COM1 PLC's.
    UploadModel& m = m_result.model;
    m.blockExSlaveMode = deffiles::OlderPairSlaveKey(m.tables.g_strPlc1Inf, m.tables.g_strPlc2Inf) == 1 ? 1 : 0;
    if (m.blockExSlaveMode == 1) m.tables.g_nBlockWordLimit = 255;
}

void COlderUploadDecoder::DecodeBlock(const uint8_t* rec) {
    UploadModel& m = m_result.model;
    Staged staged(m);
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    // The longer record has one more byte at offset 2: every later field sits one further.
    const size_t k = BlockRecordSize(g_nDeviceId) == 28 ? 1 : 0;
    OlderBlockRow row;
    const int number = rec[0] | rec[1] << 8;
    row[0] = platform::Format("%d              ", number);
    const bool forward = rec[2 + k] != 0;
    const bool coil = rec[3 + k] == 1;
    row[1] = std::to_string(rec[14 + k]);
    row[2] = forward ? t.g_strPLC1Name : t.g_strPLC2Name;
    row[3] = std::to_string(rec[4 + k]);
    row[4] = RebuildIdbAddress(RegisterText(rec + 5 + k), forward ? 1 : 2, coil);
    row[5] = forward ? t.g_strPLC2Name : t.g_strPLC1Name;
    row[6] = std::to_string(rec[15 + k]);
    row[7] = RebuildIdbAddress(RegisterText(rec + 16 + k), forward ? 2 : 1, coil);
    row[8] = std::to_string(rec[25 + k]);
    m_result.rows.push_back(row);
}

void COlderUploadDecoder::ConvertPortCodes() {
    CProjectSettings& s = m_result.model.settings;
    for (int p = 0; p < 3; ++p) {
        int& baud = s.g_anPortSettings[p][0];
        const int top = p == 1 ? 17 : 14;
        if (baud >= 1 && baud <= top) baud = kBaudRates[baud - 1];
        int& bits = s.g_anPortSettings[p][1];
        if (bits == 1) bits = 7;
        else if (bits == 2) bits = 8;
    }
}

void COlderUploadDecoder::SetTitle() { m_result.title = "Untitled - Quorvex - " + m_result.model.productNameCopy; }

void ApplyOlderUploadedProject(const OlderUploadedProject& project) {
    ResetOpenProject();
    UploadModel model = project.model;
    model.SwapWithGlobals();
    g_OlderBlockListRows.assign(project.rows.begin(),
                                project.rows.begin() + std::min<size_t>(project.rows.size(), kMaxBlocks));
    // Numbered as the list numbers the rows of an opened file (see the newer upload).
    for (size_t i = 0; i < g_OlderBlockListRows.size(); ++i) g_OlderBlockListRows[i][kOlderColBlockNo] = std::to_string(i + 1);
}
