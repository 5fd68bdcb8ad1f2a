#include "tables/EthernetIPTagTableDlg.h"

#include <fstream>

#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/DialogImages.h"
#include "res/TablesDialogs.h"
#include "res/TablesResource.h"
#include "ui/Backend.h"

namespace {

struct TagType {
    const char* name;
    const char* letter;
};
constexpr TagType kTagTypes[] = {
    {"SINT", "S"}, {"INT", "I"},     {"DINT", "D"},    {"BOOL", "B"},    {"BITARRAY", "A"},
    {"REAL", "R"}, {"TIMER", "T"},   {"COUNTER", "C"}, {"CONTROL", "L"},
};
constexpr int kColName = 0, kColSize = 1, kColType = 2, kColCode = 3;
constexpr int kMaxTagSize = 255;  // one byte in the project file and the unit's image
constexpr const char* kPlaceholder = "Enter Tag Name Here";
constexpr const char* kFileName = "14100_004.inf";
// The driver files a definition file names when the installed one names none.
constexpr const char* kDefaultCom1Driver = "ENIP1.ABS";
constexpr const char* kDefaultCom2Driver = "ENIP2.ABS";

std::string ProductFolder() { return platform::GetProgramFolder() + g_szProductNameCopy + "\\"; }

// The text of a definition file without the tag registers of its [RTU] section numbered
// above n (tags deleted since the file was written); every other line stays as it is.
std::string DropRegistersAbove(const std::string& text, int n) {
    std::string out;
    bool inRtu = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(pos, end - pos);
        pos = end;
        const std::string trimmed = platform::Trim(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            inRtu = platform::EqualsNoCase(trimmed.substr(0, trimmed.find(']') + 1), "[RTU]");
        } else if (inRtu) {
            const std::string key = platform::Trim(trimmed.substr(0, trimmed.find('=')));
            if (key.size() > 8 && platform::EqualsNoCase(key.substr(0, 8), "Register") &&
                key.find_first_not_of("0123456789", 8) == std::string::npos && platform::Atoi(key.substr(8)) > n)
                continue;
        }
        out += line;
    }
    return out;
}

}  // namespace

void ClearTagTable() {
    CEipTagTable& t = g_EipTagTable;
    t.g_arrTagCode.clear();
    t.g_arrTagName.clear();
    for (auto& s : t.g_awTagSize) s = 0;
    for (auto& b : t.g_abTagType) b = 0;
}

CEthernetIPTagTableDlg::CEthernetIPTagTableDlg(ui::Window* parent)
    : ui::Dialog(res::TablesDialogTemplate(IDD_EIP_TAG_TABLE), parent) {}

const ui::HandlerTable* CEthernetIPTagTableDlg::GetHandlerTable() const {
    using D = CEthernetIPTagTableDlg;
    using ui::Notify;
    static const ui::HandlerTable table(ui::Dialog::GetHandlerTable(), {
        ui::On(Notify::Clicked, IDC_TAG_ADD, &D::OnAdd),
        ui::On(Notify::Clicked, IDC_TAG_DELETE, &D::OnDelete),
        ui::On(Notify::Clicked, IDC_TAG_CONFIRM, &D::OnConfirm),
    });
    return &table;
}

std::string CEthernetIPTagTableDlg::InstalledFilePath() { return ProductFolder() + "Plc\\" + kFileName; }
std::string CEthernetIPTagTableDlg::TagTableFolder() { return ProductFolder() + "Tag Table Files\\"; }
std::string CEthernetIPTagTableDlg::WrittenFilePath() { return TagTableFolder() + kFileName; }

bool CEthernetIPTagTableDlg::OnInitDialog() {
    Item(IDC_TAG_PICTURE).SetBitmap(res::TablesBitmap(IDB_TAG_TABLE));
    m_arrTypeNames.clear();
    m_arrTypeNumbers.clear();
    m_arrTypeLetters.clear();
    int number = 1;
    for (const TagType& type : kTagTypes) {
        m_arrTypeNames.push_back(type.name);
        m_arrTypeNumbers.push_back(platform::Format("%d", number++));
        m_arrTypeLetters.push_back(type.letter);
    }
    ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    list.ModifyStyle(0, ui::style::kFullRowSelect);
    list.InsertColumn(kColName, "Tag Name", ui::LVCFMT_LEFT, 200);
    list.InsertColumn(kColSize, "Size", ui::LVCFMT_LEFT, 70);
    list.InsertColumn(kColType, "Type", ui::LVCFMT_LEFT, 70);
    list.InsertColumn(kColCode, "Code", ui::LVCFMT_LEFT, 180);

    auto& types = Item<ui::ListControl>(IDC_TAG_TYPE);
    for (const std::string& name : m_arrTypeNames) types.AddString(name);
    types.SetCurSel(0);
    Item(IDC_TAG_NAME).LimitText(kMaxNameChars);
    SetDlgItemText(IDC_TAG_NAME, kPlaceholder);
    SetDlgItemText(IDC_TAG_SIZE, "1");

    const CEipTagTable& t = g_EipTagTable;
    const size_t n = std::min<size_t>(t.g_arrTagName.size(), kMaxTags);
    for (size_t i = 0; i < n; ++i) {
        const int row = list.InsertItem(static_cast<int>(i), t.g_arrTagName[i]);
        list.SetItemText(row, kColSize, platform::Format("%u", unsigned(t.g_awTagSize[i])));
        const int type = t.g_abTagType[i];
        // A type outside the table (a damaged project) is shown as its number.
        list.SetItemText(row, kColType,
                         type >= 1 && type <= 9 ? m_arrTypeNames[size_t(type - 1)] : platform::Format("%d", type));
        list.SetItemText(row, kColCode, i < t.g_arrTagCode.size() ? t.g_arrTagCode[i] : std::string());
    }
    EnableDlgItem(IDC_TAG_CONFIRM, false);
    EnableDlgItem(ui::IDOK, n > 0);
    return true;
}

std::string CEthernetIPTagTableDlg::FormatTagNumber(int n) {
    std::string text = platform::Format("%d", n);
    if (text.size() == 1) return "00" + text;
    if (text.size() == 2) return "0" + text;
    return text;
}

std::string CEthernetIPTagTableDlg::MakeTagCode(int number) const {
    const int sel = Item<ui::ListControl>(IDC_TAG_TYPE).GetCurSel();
    const std::string letter =
        sel >= 0 && static_cast<size_t>(sel) < m_arrTypeLetters.size() ? m_arrTypeLetters[size_t(sel)] : "S";
    return letter + "00000" + FormatTagNumber(number);
}

void CEthernetIPTagTableDlg::ResequenceTagCodes(int from) {
    ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    for (int row = std::max(0, from); row < list.GetItemCount(); ++row) {
        const std::string old = list.GetItemText(row, kColCode);
        std::string code = MakeTagCode(row + 1);
        if (!old.empty()) code[0] = old[0];
        list.SetItemText(row, kColCode, code);
    }
}

int CEthernetIPTagTableDlg::TypeNumberFromName(const std::string& name) const {
    for (size_t i = 0; i < m_arrTypeNames.size(); ++i)
        if (m_arrTypeNames[i] == name) return platform::Atoi(m_arrTypeNumbers[i]);
    return 0;
}

void CEthernetIPTagTableDlg::OnAdd() {
    ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    const int n = list.GetItemCount();
    m_strTagName = GetDlgItemText(IDC_TAG_NAME);
    if (n >= kMaxTags) {
        ui::MessageBox("You can Configure only 255 Tags.", "Limit Exceeds", ui::MB_OK | ui::MB_ICONINFORMATION);
        return;
    }
    // The project file keeps this many characters of a name: a longer one is refused here
    // rather than cut when the project is saved.
    if (m_strTagName.size() > size_t(kMaxNameChars)) {
        ui::MessageBox(platform::Format("A Tag Name can hold at most %d characters.\n Please provide another name to "
                                        "this Tag.",
                                        kMaxNameChars),
                       "Invalid Tag Name", ui::MB_OK | ui::MB_ICONINFORMATION);
        GotoDlgCtrl(IDC_TAG_NAME);
        return;
    }
    for (int r = 0; r < n; ++r) {
        if (list.GetItemText(r, kColName) == m_strTagName) {
            ui::MessageBox("This Tag is already present in the Table.\n Please provide another name to this Tag.",
                           "Tag Already Present", ui::MB_OK | ui::MB_ICONINFORMATION);
            GotoDlgCtrl(IDC_TAG_NAME);
            return;
        }
    }
    // The name is the first field of a comma-separated register record of the
    // definition file: a comma, '=' or line break in it would break the record.
    if (m_strTagName.find_first_of(",=\r\n") != std::string::npos) {
        ui::MessageBox("A Tag Name can not contain ',' or '='.\n Please provide another name to this Tag.",
                       "Invalid Tag Name", ui::MB_OK | ui::MB_ICONINFORMATION);
        GotoDlgCtrl(IDC_TAG_NAME);
        return;
    }
    // The project file and the unit's image keep one byte of a size: a larger one is refused
    // here rather than sent as another.
    const std::string sizeText = platform::Trim(GetDlgItemText(IDC_TAG_SIZE));
    const bool digits = sizeText.find_first_not_of("0123456789") == std::string::npos;
    const int size = digits && sizeText.size() <= 9 ? platform::Atoi(sizeText) : -1;
    if (size < 0 || size > kMaxTagSize) {
        ui::MessageBox(platform::Format("A Tag Size can be at most %d.\n Please provide another size to this Tag.",
                                        kMaxTagSize),
                       "Invalid Tag Size", ui::MB_OK | ui::MB_ICONINFORMATION);
        GotoDlgCtrl(IDC_TAG_SIZE);
        return;
    }
    auto& types = Item<ui::ListControl>(IDC_TAG_TYPE);
    const int row = list.InsertItem(n, m_strTagName);
    list.SetItemText(row, kColSize, platform::Format("%d", size));
    list.SetItemText(row, kColType, types.GetLBText(types.GetCurSel()));
    list.SetItemText(row, kColCode, MakeTagCode(n + 1));
    types.SetCurSel(0);
    SetDlgItemText(IDC_TAG_NAME, kPlaceholder);
    SetDlgItemText(IDC_TAG_SIZE, "1");
    EnableDlgItem(ui::IDOK, true);
}

void CEthernetIPTagTableDlg::OnDelete() {
    ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    const int mark = list.GetSelectionMark();
    if (mark < 0) return;  // no tag selected
    if (ui::MessageBox("Do you want to Delete the Selected Tag ?", "Delete", ui::MB_OKCANCEL | ui::MB_ICONQUESTION) !=
        ui::IDOK)
        return;
    list.DeleteItem(mark);
    ResequenceTagCodes(mark);
}

void CEthernetIPTagTableDlg::OnSave() {
    ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    ClearTagTable();
    CEipTagTable& t = g_EipTagTable;
    const int n = std::min(list.GetItemCount(), kMaxTags);
    for (int i = 0; i < n; ++i) {
        t.g_arrTagName.push_back(list.GetItemText(i, kColName));
        t.g_awTagSize[i] = static_cast<uint16_t>(platform::Atoi(list.GetItemText(i, kColSize)));
        t.g_abTagType[i] = static_cast<uint8_t>(TypeNumberFromName(list.GetItemText(i, kColType)));
        t.g_arrTagCode.push_back(list.GetItemText(i, kColCode));
    }
    g_bProjectModified = 1;  // the project's tags changed: Close asks before they are dropped
    m_strInstalledFile = InstalledFilePath();
    platform::MakeDirectories(platform::ResolvePath(TagTableFolder()));
    m_strWrittenFile = WrittenFilePath();
    if (WriteTagPlcFile(m_strWrittenFile)) EnableDlgItem(IDC_TAG_CONFIRM, true);
}

void CEthernetIPTagTableDlg::OnConfirm() {
    std::string bytes;
    if (m_strWrittenFile.empty() || !platform::ReadFileBytes(m_strWrittenFile, bytes) ||
        !platform::WriteFileBytes(m_strInstalledFile, bytes)) {
        ui::MessageBox("Unable to copy the Tag Table into the Plc folder.", "Error", ui::MB_OK | ui::MB_ICONINFORMATION);
    }
}

bool CEthernetIPTagTableDlg::WriteTagPlcFile(const std::string& path) {
    // Every key below goes to the file in one replace, at the end.
    platform::ReplaceBatch batch;
    // The file starts as the installed one, so that the sections and keys written below are
    // the only ones that change: its feature keys ([Extended Setup], [TagTable], ...) stay.
    const std::string installed = m_strInstalledFile.empty() ? InstalledFilePath() : m_strInstalledFile;
    std::string base;
    if (!platform::ReadFileBytes(installed, base)) base.clear();
    if (!platform::WriteFileBytes(path, DropRegistersAbove(base, std::min(Item<ui::ListView>(IDC_TAG_LIST).GetItemCount(),
                                                                          kMaxTags)))) {
        ui::MessageBox("Unable to create Plc File.");
        return false;
    }
    const std::string com1 =
        platform::GetPrivateProfileString("Plc Info", "Com1PlcFilename", kDefaultCom1Driver, 255, installed);
    const std::string com2 =
        platform::GetPrivateProfileString("Plc Info", "Com2PlcFilename", kDefaultCom2Driver, 255, installed);
    const std::pair<const char*, std::string> info[] = {
        {"Plc Name", "Ethernet IP"}, {"Plc Code", "141"}, {"Plc Model count", "1"}, {"Plc1", "RTU"},
        {"Parameter", ""},           {"BaudRate", ""},    {"DataBit", ""},         {"StopBit", ""},
        {"Parity", ""},              {"IDB", "False"},    {"NodeAddress", "1"},    {"Limit", "40"},
        {"NoOfWord", "40"},          {"Com1PlcFilename", com1}, {"Com2PlcFilename", com2},
        {"SpecialData", "1"},        {"Sp1", "Quorvex ID,01,32,1,0"}, {"SpecialInfo", "1"},
    };
    // Each section goes into the staged file at once: the file is not parsed again per key.
    std::vector<std::pair<std::string, std::string>> plcInfo(std::begin(info), std::end(info));
    bool ok = platform::WritePrivateProfileStrings("Plc Info", plcInfo, path);
    const ui::ListView& list = Item<ui::ListView>(IDC_TAG_LIST);
    const int n = std::min(list.GetItemCount(), kMaxTags);
    std::vector<std::pair<std::string, std::string>> rtu = {
        {"ModelNo", "1"}, {"RegisterCount", platform::Format("%d", n)}, {"RegisterWidth", "9"}};
    for (int i = 0; i < n; ++i) {
        const std::string code = list.GetItemText(i, kColCode);
        const std::string letter = code.substr(0, 1);
        const std::string rest = code.size() > 1 ? code.substr(1) : std::string();
        const std::string record =
            list.GetItemText(i, kColName) + ",1,0," + letter + "," + rest + "," + rest + ",**,**,**,**";
        rtu.emplace_back(platform::Format("Register%d", i + 1), record);
    }
    rtu.emplace_back("NoOfByte", "1");
    ok = platform::WritePrivateProfileStrings("RTU", rtu, path) && ok;
    std::string error;
    if (ok) ok = batch.Commit(error);
    if (!ok) ui::MessageBox("Unable to create Plc File.");
    return ok;
}
