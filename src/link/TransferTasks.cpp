#include "link/TransferTasks.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "model/RunTimeState.h"
#include "compiler/IdbImage.h"
#include "compiler/ProjectImage.h"
#include "link/DeviceLink.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

int g_nDownloadResult = 0;
int g_nUploadResult = 0;
std::vector<std::string> g_arrFirmwareFiles;
std::string g_strFirmwareFile;

namespace {

constexpr unsigned kThreePortProduct = 84;
constexpr uint32_t kCommandPauseMs = 1000;
constexpr uint8_t kNoProjectStatus = 0xFF;
// The image as the unit takes it: the project data length travels in two bytes.
constexpr size_t kMaxProjectData = 65535;

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           platform::EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::string ProductSubFolder(const std::string& folder) {
    return deffiles::ProductFolder(g_szProductName) + "\\" + folder + "\\";
}

// The whole file, read through the safe layer: a directory, FIFO or device in its place,
// or a file too large for a unit, is refused like a missing one.
bool OpenForReading(const std::string& path, std::istringstream& file) {
    std::string bytes, error;
    if (path.empty() || !platform::ReadFileSafely(path, platform::kTransferFileCap, bytes, error)) return false;
    file.str(std::move(bytes));
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// What both generations do alike

namespace transfer {

int OpenFirmwareFile(ITransferReporter& reporter, CSerialPort& port, std::istringstream& file) {
    const std::string folder = ProductSubFolder("Firmware");
    g_arrFirmwareFiles.clear();
    for (const std::string& name : platform::ListDirectory(platform::ResolvePath(folder)))
        if (EndsWithNoCase(name, ".abs")) g_arrFirmwareFiles.push_back(folder + name);

    if (g_arrFirmwareFiles.size() > 1) {
        std::string chosen = reporter.ChooseFirmwareFile(g_arrFirmwareFiles, folder);
        if (chosen.empty()) return kNoFirmwareChosen;  // cancelled: nothing is sent
        g_strFirmwareFile = chosen;
    } else if (g_arrFirmwareFiles.size() == 1) {
        g_strFirmwareFile = g_arrFirmwareFiles.front();
    } else {
        g_strFirmwareFile.clear();
    }
    if (!OpenForReading(g_strFirmwareFile, file)) {
        reporter.ShowMessage(kMsgFirmwareFile, "", linkmb::kOk);
        reporter.SetProgressPos(0);
        port.Close();
        return -1;
    }
    reporter.SetFileName(BaseName(g_strFirmwareFile));
    return 0;
}

std::string OpenDriverFile(ITransferReporter& reporter, CSerialPort& port, int which, std::istringstream& file) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool fromPlc1 = which == 1 || g_nDeviceId == kThreePortProduct;
    const std::string name = platform::GetPrivateProfileString(
        "Plc Info", which == 1 ? "Com1PlcFilename" : "Com2PlcFilename", deffiles::kCorruptPlcFile, 80,
        fromPlc1 ? t.g_strPlc1Inf : t.g_strPlc2Inf);
    if (!OpenForReading(ProductSubFolder("Drivers") + name, file)) {
        reporter.ShowMessage(kMsgDriverFile, "", linkmb::kOk);
        reporter.SetProgressPos(0);
        port.Close();
        return std::string();
    }
    reporter.SetFileName(name);
    return name;
}

std::vector<uint8_t> DriverSetupRecord(std::istream& file, int which, long recordOffset, size_t& length) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    // The three-port product names the COM1 PLC in both records.
    const bool fromPlc1 = which == 1 || g_nDeviceId == kThreePortProduct;
    file.clear();
    file.seekg(0, std::ios::end);
    std::streamoff offset = recordOffset;
    if (file.tellg() < offset) offset = 0;
    std::vector<uint8_t> record(kDriverRecordSize, 0);
    file.seekg(offset, std::ios::beg);
    file.read(reinterpret_cast<char*>(record.data()), static_cast<std::streamsize>(record.size()));
    length = static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0));
    record[0] = static_cast<uint8_t>(which == 1 ? t.g_nPlc1RegWidth : t.g_nPlc2RegWidth);
    record[1] = static_cast<uint8_t>(platform::Atoi(fromPlc1 ? t.g_strPLC1Id : t.g_strPLC2Id));
    record[2] = static_cast<uint8_t>(platform::Atoi(fromPlc1 ? t.g_strPlc1ModelNo : t.g_strPlc2ModelNo));
    return record;
}

int CheckUnitDrivers(CUnitLink& link, ITransferReporter& reporter) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    reporter.SetProgressPos(4);
    const AnswerResult drivers = link.SendCommandReadAnswer(unitcmd::kDrivers, kCommandPauseMs, unitcmd::kDrivers);
    if (drivers == AnswerResult::None) {
        reporter.MarkLine(kLineStep, LineState::Failed, 0);
        reporter.ShowMessage(kMsgCommError, "", linkmb::kOk);
        return -1;
    }
    if (drivers != AnswerResult::Expected) return 1;  // nothing to compare
    uint8_t report[5];
    if (link.Port().Read(report, sizeof report) == -1) {
        reporter.ShowMessage(kMsgCommError, "", linkmb::kOk);
        return -1;
    }
    const bool match = report[0] == platform::Atoi(t.g_strPLC1Id) &&
                       (g_nDeviceId == kThreePortProduct || report[2] == platform::Atoi(t.g_strPLC2Id));
    if (match) {
        reporter.MarkLine(kLineStep, LineState::Succeeded, 0);
        return 1;
    }
    auto read = [](int plcNo, int model, std::string& name, std::string& modelName) {
        const std::string file = deffiles::PlcDefinitionFile(g_szProductName, std::to_string(plcNo));
        name = platform::GetPrivateProfileString("Plc Info", "Plc Name", deffiles::kCorruptPlcFile, 80, file);
        modelName = platform::GetPrivateProfileString("Plc Info", "Plc" + std::to_string(model),
                                                      deffiles::kCorruptPlcFile, 80, file);
    };
    std::string name1, model1, name2, model2;
    read(report[0], report[1], name1, model1);
    read(report[2], report[3], name2, model2);
    const std::string prompt = "Quorvex is configured for drivers-  \n \nCom1:" + name1 + "(" + model1 + ") \n" +
                               "Com2:" + name2 + "(" + model2 + ")" +
                               "\n\n Project has different configuration.\nDo you want to continue ?";
    if (reporter.ShowMessage(prompt, "Error", linkmb::kYesNo) == linkmb::kIdYes) {
        g_nDownloadResult = 0;
        return 1;
    }
    g_nDownloadResult = -1;
    return 0;
}

int ReceiveUploadSetup(CSerialPort& port, ITransferReporter& reporter, const std::function<void(const uint8_t*)>& decode) {
    auto commError = [&] {
        reporter.ShowMessage(kMsgCommError, "", linkmb::kOk);
        return -1;
    };
    if (port.ReadByte() == -1) return commError();
    if (port.GetReceivedByte() == kNoProjectStatus) {
        port.ReadByte();
        reporter.ShowMessage(kMsgNoProject, "", linkmb::kOk);
        return -1;
    }
    uint8_t record[kSetupRecordSize];
    if (port.Read(record, sizeof record) == -1) return commError();
    port.WriteByte(unitcmd::kAck);
    decode(record);
    if (port.ReadByte() == -1) return commError();  // the record's check byte, not compared
    port.WriteByte(unitcmd::kAck);
    port.GetClock().Sleep(kCommandPauseMs);
    uint8_t closing[3];
    if (port.Read(closing, sizeof closing) == -1) return commError();
    return 0;
}

}  // namespace transfer

// ---------------------------------------------------------------------------------------
// Reports

int CTransferTasks::LineAdapter::ShowMessage(const std::string& text, const std::string& caption,
                                             unsigned flags) {
    // The port reports only failures: the first one of a task is the one shown.
    if (text == kMsgCommError && m_owner.m_bFailureShown) return linkmb::kIdOk;
    m_owner.m_bFailureShown = true;
    return m_owner.m_reporter.ShowMessage(text, caption, flags);
}

void CTransferTasks::LineAdapter::SetProgressPos(int position) {
    m_owner.m_reporter.SetProgressPos(position);
}

void CTransferTasks::LineAdapter::MarkConnection(LineState state) {
    // While the project task opens, a good connection keeps the idle icon.
    int icon = 0;
    if (state == LineState::Succeeded && m_owner.m_bProjectStep) icon = IDB_STATUS_IDLE;
    m_owner.m_reporter.MarkLine(kLineConnect, state, icon);
}

void CTransferTasks::LineAdapter::MarkStep(LineState state) {
    m_owner.m_reporter.MarkLine(m_owner.m_nStepLine, state, 0);
}

CTransferTasks::CTransferTasks(CSerialPort& port, ITransferReporter& reporter)
    : m_port(port), m_reporter(reporter), m_adapter(*this), m_link(port),
      m_pPreviousReporter(&port.GetReporter()) {
    m_port.SetReporter(&m_adapter);
}

CTransferTasks::~CTransferTasks() { m_port.SetReporter(m_pPreviousReporter); }

void CTransferTasks::CommError() {
    if (m_bFailureShown) return;
    m_bFailureShown = true;
    m_reporter.ShowMessage(kMsgCommError, "", linkmb::kOk);
}

void CTransferTasks::CommErrorUnlessLinkFailed() {
    if (g_bLinkFailed != 1) CommError();
}

bool CTransferTasks::CheckBlockSize(int maxBlockSize) {
    if (m_nBlockSize >= 1 && m_nBlockSize <= maxBlockSize) return true;
    m_reporter.ShowMessage(InvalidBlockSizeMessage(m_nBlockSize, maxBlockSize), "",
                           linkmb::kOk | linkmb::kIconStop);
    return false;
}

int CTransferTasks::ReadTransferBlockSize(const std::string& product) {
    const int entry = deffiles::FindProductEntry(product);
    return entry ? platform::Atoi(deffiles::ReadProductDSize(entry)) : 0;
}

int CTransferTasks::ConnectToUnit() {
    m_bFailureShown = false;  // every task starts with a handshake
    HandshakeOptions options;
    options.expectedProductCode = static_cast<uint8_t>(g_nDeviceId & 0xFF);
    options.alternateCommand = m_bAltHandshakeProduct == 1 && m_bAltHandshakeFirmware == 1;
    HandshakeResult result;
    const int rc = m_link.ConnectToUnit(options, &result);
    if (result.outcome != HandshakeOutcome::NoAnswer && result.alternateGroup)
        m_bAltHandshakeProduct = 1;
    return rc;
}

// ---------------------------------------------------------------------------------------
// Firmware and drivers

int CTransferTasks::DownloadFirmware() {
    if (!CheckBlockSize(CUnitLink::kMaxFileBlockSize)) return -1;
    std::istringstream file;
    if (const int opened = transfer::OpenFirmwareFile(m_reporter, m_port, file); opened != 0) return opened;

    if (ConnectToUnit() != 0) {
        CommErrorUnlessLinkFailed();
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
    if (m_link.SendFileBlocks(file, 0, m_nBlockSize, 1) != 0) {
        m_reporter.ShowMessage(kMsgFirmwareError, "", linkmb::kOk);
        Progress(0);
        return -1;
    }
    m_reporter.SetFileName("");
    return 0;
}

int CTransferTasks::DownloadCom1Driver() { return DownloadDriver(1); }
int CTransferTasks::DownloadCom2Driver() { return DownloadDriver(2); }

int CTransferTasks::DownloadDriver(int which) {
    if (!CheckBlockSize(CUnitLink::kMaxFileBlockSize)) return -1;
    const bool com1 = which == 1;
    const uint8_t setupCommand = com1 ? unitcmd::kCom1DriverSetup : unitcmd::kCom2DriverSetup;
    const uint8_t driverCommand = com1 ? unitcmd::kCom1Driver : unitcmd::kCom2Driver;

    Progress(0);
    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    if (m_reporter.StopAsked()) return kTransferStopped;  // the unit keeps its driver whole
    if (com1) Progress(4);
    const AnswerResult echo = m_link.SendCommandWaitEcho(setupCommand);
    if (echo != AnswerResult::Expected) {
        Mark(kLineStep, LineState::Failed);
        if (echo == AnswerResult::None) CommError();
        return -1;
    }
    Sleep(kCommandPauseMs);
    Progress(com1 ? 5 : 10);

    std::istringstream file;
    if (transfer::OpenDriverFile(m_reporter, m_port, which, file).empty()) return -1;

    size_t n = 0;
    const std::vector<uint8_t> record =
        transfer::DriverSetupRecord(file, which, com1 ? kCom1DriverRecordOffset : kCom2DriverRecordOffset, n);
    if (com1) Progress(10);

    // A record the unit did not take fails the task; the record routine has marked the
    // line and shown its message where one is due.
    m_nStepLine = kLineStep;
    if (m_link.SendFramedBlock(record.data(), n) != 0) return -1;
    Mark(kLineStep, LineState::Succeeded);

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    if (m_link.SendCommandReadAnswer(driverCommand, kCommandPauseMs, driverCommand) !=
        AnswerResult::Expected) {
        CommError();
        return -1;
    }
    if (m_link.SendFileBlocks(file, 0, m_nBlockSize, 1) != 0) {
        m_reporter.ShowMessage(kMsgDriverError, "", linkmb::kOk);
        Progress(0);
        return -1;
    }
    m_reporter.SetFileName("");
    return 0;
}

// ---------------------------------------------------------------------------------------
// Project

int CTransferTasks::ReadUnitFirmware() {
    m_bProjectStep = 0;
    const AnswerResult answer =
        m_link.SendCommandReadAnswer(unitcmd::kUnitInfo, kCommandPauseMs, unitcmd::kUnitInfo);
    if (answer == AnswerResult::None) {
        // Nothing more can be said to a unit that does not answer: the task ends here.
        m_port.Close();
        return -1;
    }
    if (answer == AnswerResult::Expected) {
        char info[21];
        std::fill(std::begin(info), std::end(info), '0');
        m_port.Read(info, sizeof info);
        std::string version(info, 6);
        m_strUnitFirmware = version.substr(0, version.find('\0'));
    }
    return 0;
}

int CTransferTasks::CompareUnitFirmware() const {
    CDeviceLink lookup;
    return lookup.GetProductFirmwareVersion(static_cast<int>(g_nDeviceId), m_strUnitFirmware);
}

bool CTransferTasks::ReadIdbImages(CompiledProject& compiled) {
    const bool modified = g_bProjectModified == 1;
    for (int port = 1; port <= 2; ++port) {
        const std::string path = modified ? WorkingIdbPath(g_szProductName, port)
                                          : ProjectIdbPath(g_strPrjFileLastIo, port);
        const std::string resolved = platform::ResolvePath(path);
        std::string reason;
        if (!platform::ReadFileSafely(resolved, platform::kProjectFileCap, compiled.idb[port - 1], reason) ||
            !CheckIdbImage(compiled.idb[port - 1], reason)) {
            m_reporter.ShowMessage((modified ? kMsgOpenIdbFiles : kMsgOpenIntermediate) + "\n\"" + resolved + "\": " +
                                       reason + ".",
                                   "", linkmb::kOk);
            m_port.Close();
            return false;
        }
    }
    return true;
}

int CTransferTasks::DownloadProject() {
    CompiledProject compiled;
    if (!platform::ReadFileBytes(platform::ResolvePath(WritePrjPath()), compiled.image)) {
        m_port.Close();
        m_reporter.ShowMessage(WritePrjPath() + " was not found.", "", linkmb::kOk | linkmb::kIconExclamation);
        return -1;
    }
    if (!ReadIdbImages(compiled)) return -1;
    return DownloadProject(compiled);
}

int CTransferTasks::DownloadProject(const CompiledProject& compiled) {
    if (!CheckBlockSize(CUnitLink::kMaxProjectBlockSize)) return -1;

    // The download image: the project image, the internal-database images, the features.
    const std::string& project = compiled.image;
    if (project.size() < kImageBlocksOffset) {
        m_port.Close();
        m_reporter.ShowMessage("The project image WritePrj.hex is incomplete (" + std::to_string(project.size()) +
                                   " bytes). Nothing was sent to the unit.",
                               "", linkmb::kOk | linkmb::kIconStop);
        return -1;
    }
    const std::string image = ComposeDownloadImage(project, compiled.idb[0], compiled.idb[1]);
    const size_t dataLength = image.size() - kImageBlockCountOffset;
    if (dataLength > kMaxProjectData) {
        m_port.Close();
        m_reporter.ShowMessage("The project is too large for the unit: its image holds " +
                                   std::to_string(dataLength) + " bytes, the unit takes at most " +
                                   std::to_string(kMaxProjectData) + ". Nothing was sent to the unit.",
                               "", linkmb::kOk | linkmb::kIconStop);
        return -1;
    }

    Progress(0);
    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    const int drivers = transfer::CheckUnitDrivers(m_link, m_reporter);
    if (drivers != 1) return drivers == 0 ? 0 : -1;
    // The last point at which the unit still holds its old project whole.
    if (m_reporter.StopAsked()) return kTransferStopped;

    if (ConnectToUnit() != 0) {
        Mark(kLineStep, LineState::Failed);
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    // Without the echo there is nothing to send the image after: the task ends.
    if (m_link.SendCommandWaitEcho(unitcmd::kProjectSetup) != AnswerResult::Expected) {
        Mark(kLineSetup, LineState::Failed);
        CommError();
        return -1;
    }
    Sleep(kCommandPauseMs);

    m_reporter.SetFileName("WritePrj.hex");
    // The composed image is left on disk beside WritePrj.hex, as the unit's tools expect it.
    if (!platform::WriteFileBytes(platform::ResolvePath(DummyPrjPath()), image)) {
        m_port.Close();
        m_reporter.ShowMessage(kMsgCreateDummy, "", linkmb::kOk);
        return -1;
    }

    std::vector<uint8_t> record(image.begin() + kSetupRecordOffset,
                                image.begin() + kSetupRecordOffset + kSetupRecordSize);
    Progress(10);
    record[kSetupDataLengthOffset] = static_cast<uint8_t>(dataLength >> 8);
    record[kSetupDataLengthOffset + 1] = static_cast<uint8_t>(dataLength & 0xFF);
    m_nStepLine = kLineSetup;
    if (m_link.SendFramedBlock(record) != 0) return -1;  // the record routine has reported it
    Mark(kLineSetup, LineState::Succeeded);

    if (ConnectToUnit() != 0) {
        Mark(kLineSetup, LineState::Failed);
        CommErrorUnlessLinkFailed();
        return -1;
    }
    if (g_nDeviceId == kThreePortProduct) return 0;  // its project has no data stream

    if (m_link.SendCommandReadAnswer(unitcmd::kProject, kCommandPauseMs, unitcmd::kProject) !=
        AnswerResult::Expected) {
        CommError();
        return -1;
    }
    std::string stream(1, static_cast<char>(unitcmd::kProjectLead));
    stream.append(image, kImageBlockCountOffset, std::string::npos);
    m_reporter.BeginWaitCursor();
    if (m_link.SendBlocks(reinterpret_cast<const uint8_t*>(stream.data()), stream.size(), m_nBlockSize,
                          CUnitLink::kMaxProjectBlockSize, kMsgProjectError) != 0)
        return -1;
    m_reporter.SetFileName("");
    return 0;
}
