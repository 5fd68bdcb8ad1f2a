#include "link/OlderTransfer.h"

#include <algorithm>
#include <fstream>

#include "model/RunTimeState.h"
#include "compiler/ProjectImage.h"
#include "link/SystemDataUpload.h"
#include "link/TransferTasks.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr unsigned kShortRecordProduct = 81;  // sends its block records without the inserted 0x18
constexpr uint32_t kCommandPauseMs = 1000;
constexpr uint32_t kCountPauseMs = 100;
constexpr size_t kImageRecordSize = kOlderBlockRecordSize;

}  // namespace

// ---------------------------------------------------------------------------------------
// Reports: the connection on line 1, every framed record on line 2.

int COlderTransfer::LineAdapter::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
    ++m_owner.m_nMessages;
    return m_owner.m_reporter.ShowMessage(text, caption, flags);
}

void COlderTransfer::LineAdapter::SetProgressPos(int position) { m_owner.m_reporter.SetProgressPos(position); }

void COlderTransfer::LineAdapter::MarkConnection(LineState state) {
    m_owner.m_reporter.MarkLine(kLineConnect, state, 0);
}

void COlderTransfer::LineAdapter::MarkStep(LineState state) { m_owner.m_reporter.MarkLine(kLineStep, state, 0); }

void COlderTransfer::LineAdapter::ClearSummary() { m_owner.m_reporter.ClearSummary(); }

COlderTransfer::COlderTransfer(CSerialPort& port, ITransferReporter& reporter)
    : m_port(port), m_reporter(reporter), m_adapter(*this), m_link(port), m_pPreviousReporter(&port.GetReporter()) {
    m_port.SetReporter(&m_adapter);
}

COlderTransfer::~COlderTransfer() { m_port.SetReporter(m_pPreviousReporter); }

int COlderTransfer::FileBlockSize(unsigned deviceId) { return deviceId == 84 || deviceId == 83 ? 64 : 56; }

void COlderTransfer::CommError() {
    ++m_nMessages;
    m_reporter.ShowMessage(kMsgCommError, "", linkmb::kOk);
}

void COlderTransfer::CommErrorUnlessMismatch() {
    if (g_bProductMismatch != 1) CommError();
}

// ---------------------------------------------------------------------------------------
// Link operations

int COlderTransfer::ConnectToUnit() {
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(g_nDeviceId & 0xFF);
    options.answerPauseMs = 0;
    options.confirm = HandshakeOptions::Confirm::AnyButMismatch;
    options.setLinkFailed = false;  // the older dialogs keep a flag of their own
    m_reporter.BeginWaitCursor();
    HandshakeResult result;
    const int rc = m_link.ConnectToUnit(options, &result);
    if (result.outcome == HandshakeOutcome::ProductMismatch) g_bProductMismatch = 1;
    return rc;
}

int COlderTransfer::SendSetupRecord(const uint8_t* record, size_t length) {
    // A record the unit did not end with 0x03 fails with 60000 like any other wrong answer.
    const int shown = m_nMessages;
    const int rc = m_link.SendFramedBlock(record, length);
    if (rc != 0 && m_nMessages == shown) CommError();
    return rc;
}

int COlderTransfer::SendFileBlocks(std::istream& file, long start, int blockSize, int kind, StreamOutcome* outcome) {
    StreamOutcome local = StreamOutcome::Done;
    StreamOutcome& out = outcome ? *outcome : local;
    if (blockSize < 1 || blockSize > 255) {  // the length travels in one byte
        m_reporter.ShowMessage(InvalidBlockSizeMessage(blockSize, 255), "", linkmb::kOk | linkmb::kIconStop);
        out = StreamOutcome::InvalidBlockSize;
        return -1;
    }
    if (!m_port.IsOpen()) {
        CommError();
        out = StreamOutcome::BlockNotAnswered;
        return -1;
    }
    const std::vector<uint8_t> data = CUnitLink::ReadFileFrom(file, start, kind);

    const size_t block = static_cast<size_t>(blockSize);
    const size_t blocks = (data.size() + block - 1) / block;
    std::vector<uint8_t> frame;
    frame.reserve(block + 2);
    for (size_t k = 0; k < blocks; ++k) {
        const size_t from = k * block;
        const size_t n = std::min(block, data.size() - from);
        frame.assign(1, static_cast<uint8_t>(n));
        frame.insert(frame.end(), data.begin() + static_cast<long>(from), data.begin() + static_cast<long>(from + n));
        uint8_t check = 0;
        for (uint8_t b : frame) check ^= b;
        frame.push_back(check);
        m_port.Write(frame.data(), frame.size());
        if (m_port.ReadByte() == -1) {
            CommError();
            out = StreamOutcome::BlockNotAnswered;
            return -1;
        }
        if (m_port.GetReceivedByte() != unitcmd::kAck) {
            CommError();
            out = StreamOutcome::BlockRefused;
            return -1;
        }
        Progress(CUnitLink::BlockProgress(k + 1, blocks));
    }

    Progress(CUnitLink::kProgressMax);
    m_link.SendCommand(0x00, 0x00);
    Sleep(kCommandPauseMs);
    if (m_port.ReadByte() == -1) {
        CommError();
        out = StreamOutcome::EndNotAnswered;
        return -1;
    }
    if (m_port.GetReceivedByte() != unitcmd::kComplete) {
        out = StreamOutcome::EndWrongAnswer;
        return -1;
    }
    out = StreamOutcome::Done;
    return 0;
}

// ---------------------------------------------------------------------------------------
// Firmware and drivers

int COlderTransfer::DownloadFirmware() {
    std::istringstream file;
    if (const int opened = transfer::OpenFirmwareFile(m_reporter, m_port, file); opened != 0) return opened;

    if (ConnectToUnit() != 0) {
        CommErrorUnlessMismatch();
        return -1;
    }
    // Every task's first stream is a safe point: the unit still holds what it held.
    if (m_reporter.StopAsked()) {
        m_reporter.SetFileName("");
        return kTransferStopped;
    }
    Progress(1);
    if (m_link.SendCommandWaitEcho(unitcmd::kFirmware) != AnswerResult::Expected) {
        CommError();
        return -1;
    }
    Sleep(kCommandPauseMs);
    Progress(10);
    const bool whole = SendsWholeFiles(g_nDeviceId);
    if (SendFileBlocks(file, whole ? 0 : kFirmwareStart, FileBlockSize(g_nDeviceId), 1) != 0) {
        m_reporter.ShowMessage(kMsgFirmwareError, "", linkmb::kOk);
        Progress(0);
        return -1;
    }
    m_reporter.SetFileName("");
    return 0;
}

int COlderTransfer::DownloadCom1Driver() { return DownloadDriver(1); }
int COlderTransfer::DownloadCom2Driver() { return DownloadDriver(2); }

int COlderTransfer::DownloadDriver(int which) {
    const bool com1 = which == 1;
    const uint8_t setupCommand = com1 ? unitcmd::kCom1DriverSetup : unitcmd::kCom2DriverSetup;
    const uint8_t driverCommand = com1 ? unitcmd::kCom1Driver : unitcmd::kCom2Driver;

    Progress(0);
    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }
    if (m_reporter.StopAsked()) return kTransferStopped;  // the unit keeps its driver whole
    if (com1) Progress(4);
    const AnswerResult echo = m_link.SendCommandWaitEcho(setupCommand);
    if (echo != AnswerResult::Expected) {
        // Without the echo the unit takes no setup record, so it gets no driver either.
        Mark(kLineStep, LineState::Failed);
        CommError();
        return -1;
    }
    Sleep(kCommandPauseMs);
    if (com1) Progress(5);

    std::istringstream file;
    if (transfer::OpenDriverFile(m_reporter, m_port, which, file).empty()) return -1;
    size_t n = 0;
    const std::vector<uint8_t> record =
        transfer::DriverSetupRecord(file, which, com1 ? kCom1DriverRecordOffset : kCom2DriverRecordOffset, n);
    Progress(10);
    // A record the unit did not take fails the task: the record routine has marked line 2
    // and shown its message where one is due; nothing more is sent.
    if (SendSetupRecord(record.data(), n) != 0) return -1;

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }
    if (m_link.SendCommandReadAnswer(driverCommand, kCommandPauseMs, driverCommand) != AnswerResult::Expected) {
        CommError();
        return -1;
    }
    const bool whole = SendsWholeFiles(g_nDeviceId);
    const long start = whole ? 0 : com1 ? kCom1DriverStart : kCom2DriverStart;
    if (SendFileBlocks(file, start, FileBlockSize(g_nDeviceId), com1 ? 3 : 2) != 0) {
        m_reporter.ShowMessage(com1 ? kMsgCom1DriverError : kMsgCom2DriverError, "", linkmb::kOk);
        return -1;
    }
    m_reporter.SetFileName("");
    return 0;
}

// ---------------------------------------------------------------------------------------
// Project download

int COlderTransfer::DownloadProject() {
    std::string image;
    if (!platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), image)) {
        g_nDownloadResult = 0;
        m_port.Close();
        m_reporter.ShowMessage("The project image WritePrj.hex cannot be read. Nothing was sent to the unit.", "",
                               linkmb::kOk | linkmb::kIconStop);
        return -1;
    }
    return DownloadProject(image);
}

int COlderTransfer::DownloadProject(const std::string& image) {
    const bool threePorts = g_nDeviceId == kThreePortProduct;
    g_nDownloadResult = 0;
    Progress(0);

    // The image is checked whole before anything goes to the unit: a unit that took half
    // a project runs half of it.
    const size_t blocks = image.size() >= kImageBlocksOffset
                              ? static_cast<uint8_t>(image[kImageBlockCountOffset]) +
                                    256u * static_cast<uint8_t>(image[kImageBlockCountOffset + 1])
                              : 0;
    if (image.size() < kImageBlocksOffset ||
        (!threePorts && image.size() < kImageBlocksOffset + blocks * kImageRecordSize)) {
        m_port.Close();
        m_reporter.ShowMessage("The project image WritePrj.hex is incomplete (" + std::to_string(image.size()) +
                                   " bytes). Nothing was sent to the unit.",
                               "", linkmb::kOk | linkmb::kIconStop);
        return -1;
    }
    if (!threePorts && blocks > COlderUploadDecoder::kMaxBlocks) {
        m_port.Close();
        m_reporter.ShowMessage("The project image WritePrj.hex announces " + std::to_string(blocks) +
                                   " blocks; the unit takes at most " +
                                   std::to_string(COlderUploadDecoder::kMaxBlocks) + ". Nothing was sent to the unit.",
                               "", linkmb::kOk | linkmb::kIconStop);
        return -1;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(image.data());

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }

    const int drivers = transfer::CheckUnitDrivers(m_link, m_reporter);
    if (drivers != 1) return drivers == 0 ? 0 : -1;
    // The last point at which the unit still holds its old project whole.
    if (m_reporter.StopAsked()) return kTransferStopped;

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }
    // Setup record. Without its echo the unit takes no project: the task ends.
    if (m_link.SendCommandWaitEcho(unitcmd::kProjectSetup) != AnswerResult::Expected) {
        Mark(kLineSetup, LineState::Failed);
        CommError();
        return -1;
    }
    Sleep(kCommandPauseMs);
    m_reporter.SetFileName("WritePrj.hex");
    Progress(10);
    if (SendSetupRecord(bytes + kSetupRecordOffset, kSetupRecordSize) != 0) {
        Mark(kLineSetup, LineState::Failed);
        return -1;  // the record routine has reported it; nothing more is sent
    }
    Mark(kLineSetup, LineState::Succeeded);

    if (ConnectToUnit() != 0) {
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }
    if (threePorts) {  // its project is the setup record alone
        Progress(CUnitLink::kProgressMax);
        return 0;
    }

    // Block records.
    if (m_link.SendCommandReadAnswer(unitcmd::kProject, kCommandPauseMs, unitcmd::kProject) != AnswerResult::Expected) {
        CommError();
        return -1;
    }
    const uint8_t c0 = bytes[kImageBlockCountOffset], c1 = bytes[kImageBlockCountOffset + 1];
    Progress(20);
    const uint8_t count[3] = {c0, c1, static_cast<uint8_t>(c0 ^ c1)};
    m_port.Write(count, sizeof count);
    Sleep(kCommandPauseMs);
    m_port.ReadByte();  // the unit's answer to the count is not examined

    bool refused = false;
    std::vector<uint8_t> wire;
    for (size_t i = 0; i < blocks; ++i) {
        m_reporter.BeginWaitCursor();
        const uint8_t* rec = bytes + kImageBlocksOffset + i * kImageRecordSize;
        wire.assign(rec, rec + 2);
        if (g_nDeviceId != kShortRecordProduct) wire.push_back(unitcmd::kProject);
        wire.insert(wire.end(), rec + 2, rec + kImageRecordSize);
        uint8_t check = 0;
        for (uint8_t b : wire) check ^= b;
        wire.push_back(check);
        m_port.Write(wire.data(), wire.size());

        const AnswerResult answer = m_link.WaitForEcho(unitcmd::kAck);
        if (answer == AnswerResult::None) {
            CommError();
            return -1;
        }
        if (answer == AnswerResult::Other) {
            m_reporter.ShowMessage(kMsgBlockDownloadError, "", linkmb::kOk);
            refused = true;
            break;
        }
        m_link.SendCommand(0x00, 0x00);
        if (m_link.WaitForEcho(unitcmd::kAck) == AnswerResult::None) {
            CommError();
            return -1;
        }
        Progress(CUnitLink::BlockProgress(i + 1, blocks));
    }

    Progress(CUnitLink::kProgressMax);
    m_link.SendCommand(0x00, 0x00);
    Sleep(kCommandPauseMs);
    if (m_port.ReadByte() == -1) {
        CommError();
        return -1;
    }
    if (m_port.GetReceivedByte() != unitcmd::kComplete) {
        m_reporter.ShowMessage(kMsgProjectError, "", linkmb::kOk);
        return -1;
    }
    // A refused block leaves the unit with an incomplete project, whatever the end says.
    if (refused) return -1;
    m_reporter.SetFileName("");
    return 0;
}

// ---------------------------------------------------------------------------------------
// Project upload

int COlderTransfer::UploadProject() {
    m_pDecoder = std::make_unique<COlderUploadDecoder>(m_reporter);
    return RunUpload(*m_pDecoder);
}

int COlderTransfer::RunUpload(COlderUploadDecoder& decoder) {
    m_reporter.BeginWaitCursor();
    Progress(0);
    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        Mark(kLineProject, LineState::Failed);
        CommErrorUnlessMismatch();
        m_reporter.ClearStatus();
        return -1;
    }

    // Driver identities.
    const AnswerResult drivers = m_link.SendCommandReadAnswer(unitcmd::kDrivers, kCommandPauseMs, unitcmd::kDrivers);
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
    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessMismatch();
        return -1;
    }

    // Setup record.
    const AnswerResult setup =
        m_link.SendCommandReadAnswer(unitcmd::kUploadSetup, kCommandPauseMs, unitcmd::kUploadSetup);
    if (setup == AnswerResult::None) {
        CommError();
        return -1;
    }
    if (setup == AnswerResult::Expected) {
        if (transfer::ReceiveUploadSetup(m_port, m_reporter, [&](const uint8_t* record) { decoder.DecodeSetup(record); }) !=
            0)
            return -1;
        Mark(kLineSetup, LineState::Succeeded);
        if (ConnectToUnit() != 0) {
            Mark(kLineSetup, LineState::Failed);
            CommErrorUnlessMismatch();
            return -1;
        }
    }

    Progress(70);
    decoder.ApplySlaveModeWordLimit();
    if (g_nDeviceId == kThreePortProduct) {  // no block records; the title stays
        decoder.ConvertPortCodes();
        Progress(CUnitLink::kProgressMax);  // the whole project is in
        return 0;
    }

    // Block records, each answered with 0x00 and followed by two bytes.
    const AnswerResult blocks = m_link.SendCommandReadAnswer(unitcmd::kUploadProject, 0, unitcmd::kUploadProject);
    if (blocks == AnswerResult::None) {
        CommError();
        return -1;
    }
    if (blocks == AnswerResult::Expected) {
        uint8_t count[3];
        if (m_port.Read(count, sizeof count) == -1) {
            CommError();
            return -1;
        }
        const size_t n = count[0] + 256u * count[1];
        if (n > COlderUploadDecoder::kMaxBlocks) {
            m_reporter.ShowMessage("The unit reports " + std::to_string(n) + " blocks; a project holds at most " +
                                       std::to_string(COlderUploadDecoder::kMaxBlocks) +
                                       ". The uploaded project was not taken over.",
                                   "", linkmb::kOk | linkmb::kIconStop);
            return -1;
        }
        m_port.WriteByte(unitcmd::kAck);
        Sleep(kCountPauseMs);
        const size_t size = COlderUploadDecoder::BlockRecordSize(g_nDeviceId);
        std::vector<uint8_t> record(size);
        for (size_t i = 0; i < n; ++i) {
            m_reporter.BeginWaitCursor();
            if (m_port.Read(record.data(), record.size()) == -1) {
                CommError();
                return -1;
            }
            // The record's last byte is the check byte the download sent with it: a record
            // that does not match it came damaged, and nothing of the upload is taken.
            uint8_t check = 0;
            for (size_t b = 0; b + 1 < size; ++b) check ^= record[b];
            if (check != record[size - 1]) {
                m_reporter.ShowMessage("Block " + std::to_string(i + 1) +
                                           " came from the unit with a wrong check byte. The uploaded project was "
                                           "not taken over.",
                                       "", linkmb::kOk | linkmb::kIconStop);
                return -1;
            }
            m_port.WriteByte(unitcmd::kAck);
            decoder.DecodeBlock(record.data());
            uint8_t after[2];
            if (m_port.Read(after, sizeof after) == -1) {
                CommError();
                return -1;
            }
            m_port.WriteByte(unitcmd::kAck);
            Progress(CUnitLink::ProgressFrom(70, i + 1, n));  // across every block
        }
        Mark(kLineProject, LineState::Succeeded);
    }
    Progress(CUnitLink::kProgressMax);
    m_port.Close();
    decoder.ConvertPortCodes();
    decoder.SetTitle();
    return 0;
}
