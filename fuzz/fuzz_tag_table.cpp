// The EtherNet/IP tag table's definition file: Save starts the file it writes from the
// installed one (its other sections and keys kept, tags above the list's count dropped),
// Confirm installs it, and the register tables read it back as the PLC of COM2 and
// address its tags. The input's first byte is the number of tags in the list, the rest
// the installed file.
#include "model/ExtendedTables.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/TablesResource.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "ui/HeadlessBackend.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string g_root;
ui::HeadlessBackend* g_backend = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_root = "/tmp/quorvex-fuzz-tags-" + std::to_string(getpid()) + "/";
    platform::MakeDirectories(g_root + "QVX-ENET/Plc");
    platform::SetProgramFolder(g_root);
    g_backend = new ui::HeadlessBackend;
    g_backend->SetFailureHandler([](const std::string&) {});
    g_backend->Install();
    // Its files change only through this program: a file just written counts as settled,
    // so it is parsed once, not again at every key until 100 real milliseconds have passed.
    platform::SetProfileClockForTests([] {
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        return (static_cast<long long>(now.tv_sec) + 1) * 1000000000LL + now.tv_nsec;
    });
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(g_root, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    g_szProductName = g_szProductNameCopy = g_szProductPath = "QVX-ENET";
    const std::string installed = CEthernetIPTagTableDlg::InstalledFilePath();
    const std::string path = platform::ResolvePath(installed);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {  // no flush: fast runs
        std::fwrite(data + 1, 1, size - 1, f);
        std::fclose(f);
        static long run = 0;  // a settled file of its own, parsed once
        const struct timespec times[2] = {{1000000 + ++run, 0}, {1000000 + run, 0}};
        utimensat(AT_FDCWD, path.c_str(), times, 0);
    }

    // The tags of the project: as many as the first byte says, every type.
    ClearTagTable();
    CEipTagTable& t = g_EipTagTable;
    const int tags = data[0] % (CEthernetIPTagTableDlg::kMaxTags + 1);
    const char letters[] = "SIDBARTCL";
    for (int i = 0; i < tags; ++i) {
        t.g_arrTagName.push_back("Tag" + std::to_string(i + 1));
        t.g_awTagSize[size_t(i)] = 1;
        t.g_abTagType[size_t(i)] = uint8_t(i % 9 + 1);
        t.g_arrTagCode.push_back(std::string(1, letters[i % 9]) + platform::Format("%08d", i + 1));
    }
    g_backend->ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) {
        dlg.UserClickButton(ui::IDOK);  // Save
        dlg.UserClickButton(IDC_TAG_CONFIRM);
        dlg.UserClickButton(ui::IDCANCEL);
    });
    {
        CEthernetIPTagTableDlg dlg;
        dlg.DoModal();
    }
    g_backend->ClearRecords();

    // The register tables read the installed file back and address its tags.
    CPlcRegisterTables& r = g_PlcRegisterTables;
    r.ResetProject();
    r.g_strPlc2Inf = installed;
    r.g_strPlc2Section = "RTU";
    r.LoadPlcFileCom2();
    const int count = r.RegisterCount(2);
    for (int i = 0; i < count && i < 64; ++i) {
        const std::string text = r.g_arrPlc2RegPrefix[size_t(i)] + r.g_arrPlc2RegMin[size_t(i)];
        (void)r.ValidateAddressCom2(text, i);
        (void)r.ParseAddressCom2(text);
        (void)r.FormatAddressCom2(r.GetAddressNumberPartCom2(text, i), r.GetAddressColonPartCom2(text, i),
                                  r.GetAddressSlashPartCom2(text, i), i);
    }
    ClearTagTable();
    (void)platform::TakeFileProblems();
    return 0;
}
