#include "compiler/IdbImage.h"

#include <algorithm>

#include "model/ProjectFileFormat.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"
#include "model/IdbText.h"

using platform::Atoi;

namespace {
unsigned Low16(const std::string& text) { return static_cast<unsigned>(Atoi(text)) & 0xFFFF; }
}  // namespace

std::string EncodeIdbImage(const std::vector<IdbPaneRow>& rows, int port, std::vector<IdbRowSettings>* settings) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const size_t n = std::min(rows.size(), kMaxIdbRows);
    std::string bytes;
    prjfile::FieldWriter w(bytes);
    if (settings) settings->clear();
    for (size_t r = 0; r < n; ++r) {
        const IdbPaneRow& row = rows[r];
        const int dataType = port == 1 ? DataTypeTextToCodeCom1(row[3]) : DataTypeTextToCodeCom2(row[3]);
        const int skip = port == 1 ? YesTextToBoolCom1(row[7]) : YesTextToBoolCom2(row[7]);
        std::string key = port == 1 ? t.ParseAddressCom1(row[2]) : t.ParseAddressCom2(row[2]);
        key = key.substr(0, 9);
        key.append(9 - key.size(), '*');
        w.Byte(Atoi(row[1]));
        w.Raw(key);
        w.Byte(dataType);
        w.U16LE(Low16(row[4]));
        w.U16LE(Low16(row[5]));
        w.Byte(Atoi(row[6]));
        w.Byte(skip);
        w.U16LE(Low16(row[8]));
        if (settings) settings->push_back({dataType, Atoi(row[5]), skip, Atoi(row[8]), row[2]});
    }
    w.Byte(static_cast<int>(n));
    return bytes;
}

std::string RebuildIdbAddress(const std::string& registerText, int port, bool bitMode) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    int r = t.GetRegisterIndexForPort(registerText, bitMode ? 1 : 0, port);
    if (r < 0) return registerText;  // an unknown register passes through as it is
    const size_t i = static_cast<size_t>(r);
    const std::string& prefix = (port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[i];
    const size_t w5 = (port == 1 ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin)[i].size();
    const size_t w7 = (port == 1 ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin)[i].size();
    const size_t w9 = (port == 1 ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin)[i].size();
    auto cut = [&](size_t from, size_t width) {
        return from < registerText.size() ? registerText.substr(from, width) : std::string();
    };
    const size_t p = prefix.size();
    std::string number = cut(p, w5), second = cut(p + w5, w7);
    std::string third = registerText.size() > p + w5 + w7 ? cut(p + w5 + w7, w9) : std::string();
    return prefix + (port == 1 ? t.FormatAddressCom1(number, second, third, r)
                               : t.FormatAddressCom2(number, second, third, r));
}

std::vector<IdbPaneRow> DecodeIdbImage(const std::string& image, int port, bool com2Can, const std::string& plc2Id) {
    const std::string bytes = image.substr(0, kMaxIdbImageRead);
    std::vector<IdbPaneRow> rows;
    if (bytes.empty()) return rows;
    const size_t n = (bytes.size() - 1) / kIdbRowSize;
    const bool can = port == 2 && com2Can;
    for (size_t r = 0; r < n; ++r) {
        prjfile::FieldReader in(bytes, r * kIdbRowSize);
        IdbPaneRow row;
        row[1] = std::to_string(in.Byte());
        const std::string key = in.Text(9);
        const int dataType = in.Byte();
        row[4] = std::to_string(in.U16LE());
        row[5] = std::to_string(in.U16LE());
        row[6] = std::to_string(in.Byte());
        const int skip = in.Byte();
        row[8] = std::to_string(in.U16LE());
        if (can && plc2Id != "118") {
            row[3] = dataType == 1 ? "Input" : "Output";
            row[7] = "0";
        } else {
            row[3] = DataTypeCodeToText(dataType);
            row[7] = BoolToYesText(skip);
        }
        row[2] = RebuildIdbAddress(key, port, !can && dataType == 1);
        rows.push_back(row);
    }
    return rows;
}

bool CheckIdbImage(const std::string& bytes, std::string& reason) {
    if (bytes.empty()) return true;
    const size_t n = (bytes.size() - 1) / kIdbRowSize;
    // The count is a byte: a longer file than the writer makes (its first 255 rows are
    // shown) holds the low byte of its row count.
    if ((bytes.size() - 1) % kIdbRowSize != 0 || static_cast<unsigned char>(bytes.back()) != (n & 0xFF)) {
        reason = "the file is damaged: its size of " + std::to_string(bytes.size()) +
                 " bytes does not hold whole rows and their count";
        return false;
    }
    for (size_t r = 0; r < n; ++r) {
        const char* row = bytes.data() + r * kIdbRowSize;
        const bool keyPrintable = std::all_of(row + 1, row + 10, [](char c) { return c >= 0x20 && c <= 0x7E; });
        const int dataType = static_cast<unsigned char>(row[10]);
        if (!keyPrintable || dataType > 6) {
            reason = "the file is damaged: row " + std::to_string(r + 1) +
                     (keyPrintable ? " holds an unknown data type" : " holds an address that is no register");
            return false;
        }
    }
    return true;
}

std::string ProjectIdbPath(const std::string& projectPath, int port) {
    std::string base = projectPath.size() >= 4 ? projectPath.substr(0, projectPath.size() - 4) : projectPath;
    return base + (port == 1 ? "_IDB1.hex" : "_IDB2.hex");
}

std::string WorkingIdbPath(const std::string& product, int port) {
    return deffiles::ProjectsFolder(product) + (port == 1 ? "IDBCOM1.hex" : "IDBCOM2.hex");
}
