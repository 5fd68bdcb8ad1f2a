// Writes the project image of a small QVX-ENET project (Modbus RTU Master on COM1,
// Ethernet IP on COM2, one block on each tag of the shipped tag PLC) as the program's
// compile writes it, to the path given. Usage: make-sample-project DIST-FOLDER OUTPUT.
// The sample tree is copied first, so the tree itself is only read.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "S7ProjectLevel.h"
#include "app/MainFrame.h"
#include "compiler/ProjectImage.h"
#include "editor/NewBlockExView.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "res/TablesResource.h"
#include "ui/HeadlessBackend.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-sample-project DIST-FOLDER OUTPUT\n");
        return 2;
    }
    const std::string root =
        (fs::temp_directory_path() / ("quorvex-sample-project-" + std::to_string(getpid()))).string() + "/";
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::copy(argv[1], root, fs::copy_options::recursive, ec);
    if (ec) {
        std::fprintf(stderr, "cannot copy %s: %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    platform::SetProgramFolder(root);
    int result = 1;
    {
        ui::HeadlessBackend backend;
        backend.SetFailureHandler([](const std::string& what) { std::fprintf(stderr, "unexpected: %s\n", what.c_str()); });
        backend.Install();
        // Configure Project of a tag PLC offers the tag table: the shipped tags stay.
        backend.ExpectModal(IDD_EIP_TAG_TABLE, [](ui::Dialog& dlg) { dlg.UserClickButton(ui::IDCANCEL); });
        auto frame = std::make_unique<CMainFrame>();
        frame->LoadFrame();
        if (!toolsupport::OpenProjectLevel(*frame, "QVX-ENET", 94, "Modbus RTU Master", "Ethernet IP")) {
            std::fprintf(stderr, "the QVX-ENET project level cannot be reached\n");
        } else {
            toolsupport::FillFirstBlock("Motor speed", "Ethernet IP", "I00000001");
            const char* tags[] = {"D00000002", "B00000003", "R00000004", "C00000005"};
            const char* comments[] = {"Line status", "Run command", "Setpoint", "Batch count"};
            BlockRows rows;
            for (int i = 0; i < 4; ++i)
                rows.push_back({std::to_string(i + 2), "1", "Modbus RTU Master", "1", "H" + std::to_string(1001 + 10 * i),
                                "Ethernet IP", "2", tags[i], "5", "", comments[i]});
            g_pNewBlockExView->AppendBlockRows(rows);
            std::string image, error;
            if (g_pNewBlockExView->FindFailingBlock() >= 0) {
                std::fprintf(stderr, "block %d fails the block check\n", g_pNewBlockExView->FindFailingBlock() + 1);
            } else if (g_pNewBlockExView->WriteProjectImage() != 0 ||
                       !platform::ReadFileSafely(platform::ResolvePath(WritePrjPath()), platform::kTransferFileCap, image, error)) {
                std::fprintf(stderr, "the project does not compile %s\n", error.c_str());
            } else if (!platform::WriteFileBytes(argv[2], image)) {
                std::fprintf(stderr, "cannot write %s\n", argv[2]);
            } else {
                std::printf("%s: %zu bytes\n", argv[2], image.size());
                result = 0;
            }
        }
        frame.reset();
    }
    fs::remove_all(root, ec);
    return result;
}
