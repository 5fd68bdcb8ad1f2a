// The project upload of the newer products: the unit's versions, a restart, the driver
// identities, the setup record and the project image, each after a handshake. What
// arrives is decoded into a copy of the project; the open project is replaced only when
// the whole exchange succeeded.
#include <fstream>

#include "model/RunTimeState.h"
#include "compiler/ProjectImage.h"
#include "link/TransferTasks.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace {
constexpr unsigned kThreePortProduct = 84;
constexpr uint32_t kCommandPauseMs = 1000;
constexpr uint32_t kRestartPauseMs = 50;
constexpr uint32_t kLengthPauseMs = 100;
constexpr uint8_t kClosingByte = 0x03;
}  // namespace

int CTransferTasks::UploadProject() {
    m_pDecoder = std::make_unique<CUploadDecoder>(m_reporter);
    if (RunUpload(*m_pDecoder) != 0) return -1;
    // Asked to stop: the project that came is not taken over.
    if (m_reporter.StopAsked()) return kTransferStopped;
    ApplyUploadedProject(m_pDecoder->Result(), m_reporter);
    return 0;
}

int CTransferTasks::RunUpload(CUploadDecoder& decoder) {
    const uint32_t both = PURGE_TXCLEAR | PURGE_RXCLEAR;
    m_reporter.BeginWaitCursor();
    Progress(0);
    // The image comes in blocks of the product's size: a size the buffer cannot take is
    // refused before anything is asked of the unit.
    if (g_nDeviceId != kThreePortProduct && !CheckBlockSize(CUnitLink::kMaxProjectBlockSize)) return -1;

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        Mark(kLineProject, LineState::Failed);
        CommErrorUnlessLinkFailed();
        m_reporter.ClearStatus();
        m_port.Close();
        return -1;
    }

    // The unit's versions: a firmware whose version ends in a letter after 'D' (either
    // case) takes the alternate handshake.
    const AnswerResult info =
        m_link.SendCommandReadAnswer(unitcmd::kUnitInfo, kCommandPauseMs, unitcmd::kUnitInfo);
    if (info == AnswerResult::None) {
        CommError();
        m_port.Close();
    } else if (info == AnswerResult::Expected) {
        uint8_t answer[21] = {};
        m_port.Read(answer, sizeof answer);
        size_t length = 0;
        while (length < 6 && answer[length] != 0) ++length;
        if (length > 0) {
            const unsigned char c = answer[length - 1];
            if ((c > 'D' && c < 'a') || c > 'd') m_bAltHandshakeFirmware = 1;
        }
    }

    // Restart the unit on a fresh port.
    m_port.Close();
    m_port.Open(g_PlcRegisterTables.g_strPcComPort);
    if (m_port.IsOpen()) {  // a port that did not open is reported by the handshake
        m_port.PurgeComm(both);
        m_link.SendCommand(unitcmd::kHandshake, unitcmd::kRestart);
        Sleep(kRestartPauseMs);
        m_port.PurgeComm(both);
    }
    if (ConnectToUnit() != 0) {
        CommErrorUnlessLinkFailed();
        m_port.Close();
        return -1;
    }

    // Driver identities.
    m_port.PurgeComm(both);
    const AnswerResult drivers =
        m_link.SendCommandReadAnswer(unitcmd::kDrivers, kCommandPauseMs, unitcmd::kDrivers);
    if (drivers == AnswerResult::None) {
        Mark(kLineStep, LineState::Failed);
        CommError();
        return -1;
    }
    if (drivers == AnswerResult::Expected) {
        uint8_t identities[5];
        if (m_port.Read(identities, sizeof identities) == -1) {
            CommError();
            return -1;
        }
        if (decoder.DecodeIdentities(identities) != 0) return -1;
        Progress(20);
        Mark(kLineStep, LineState::Succeeded);
    }
    Progress(50);
    if (g_nDeviceId != kThreePortProduct) m_reporter.RestoreMenuAfterTransfer();

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }

    // Setup record. Without its echo the unit gives nothing to take over.
    if (m_link.SendCommandReadAnswer(unitcmd::kUploadSetup, kCommandPauseMs, unitcmd::kUploadSetup) !=
        AnswerResult::Expected) {
        CommError();
        return -1;
    }
    if (transfer::ReceiveUploadSetup(m_port, m_reporter, [&](const uint8_t* record) { decoder.DecodeSetup(record); }) !=
        0)
        return -1;
    Mark(kLineSetup, LineState::Succeeded);

    if (ConnectToUnit() != 0) {
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    Progress(70);
    decoder.ApplySlaveModeWordLimit();
    if (g_nDeviceId == kThreePortProduct) {  // no project image; the title stays
        decoder.ConvertPortCodes();
        Progress(CUnitLink::kProgressMax);  // the whole project is in
        return 0;
    }

    // Project image.
    if (m_link.SendCommandReadAnswer(unitcmd::kUploadProject, 0, unitcmd::kUploadProject) !=
        AnswerResult::Expected) {
        CommError();
        return -1;
    }
    const std::string uploadPath = ImageWorkFolder() + "UpLoadPrj.hex";
    uint8_t lengthBytes[2];
    if (m_port.Read(lengthBytes, sizeof lengthBytes) == -1) {
        CommError();
        return -1;
    }
    const size_t length = static_cast<size_t>(lengthBytes[0] << 8 | lengthBytes[1]);
    Sleep(kLengthPauseMs);
    const size_t blockSize = static_cast<size_t>(m_nBlockSize);
    const size_t blocks = length == 0 ? 1 : (length + blockSize - 1) / blockSize;

    std::string image;
    std::vector<uint8_t> block(blockSize);
    // The blocks taken so far are kept in the file also when the upload ends early; the
    // file is replaced whole each time.
    auto keep = [&] { return platform::WriteFileBytes(uploadPath, image); };
    for (size_t k = 0; k < blocks; ++k) {
        std::fill(block.begin(), block.end(), 0);
        if (m_port.Read(block.data(), block.size()) == -1) {
            keep();
            m_reporter.ShowMessage(kMsgBlockNotReceived, "", linkmb::kOk);
            return -1;
        }
        image.append(block.begin(), block.end());
        uint8_t check = 0;
        for (uint8_t b : block) check ^= b;
        if (m_port.ReadByte() == -1) {
            keep();
            m_reporter.ShowMessage(kMsgCrcNotReceived, "", linkmb::kOk);
            return -1;
        }
        if (m_port.GetReceivedByte() != check) {
            keep();
            m_reporter.ShowMessage(kMsgCrcMismatch, "", linkmb::kOk);
            return -1;
        }
        if (m_port.WriteByte(unitcmd::kAck) != 0) {  // the port has shown 60000
            keep();
            return -1;
        }
        Progress(CUnitLink::ProgressFrom(70, k + 1, blocks));  // across every block
    }
    uint8_t closing[3];
    if (m_port.Read(closing, sizeof closing) == -1 || closing[2] != kClosingByte) {
        keep();
        CommError();
        return -1;
    }
    // The image taken is kept whole, in one replace of the file.
    if (!keep()) {
        m_reporter.ShowMessage(kMsgCreateUpload, "", linkmb::kOk);
        return -1;
    }

    if (decoder.DecodeImage(image) != 0) return -1;
    m_port.Close();
    Mark(kLineProject, LineState::Succeeded);
    Progress(200);
    decoder.ConvertPortCodes();
    decoder.SetTitle();
    return 0;
}
