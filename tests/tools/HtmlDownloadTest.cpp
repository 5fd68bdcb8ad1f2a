// The web-page download against the simulated unit: the types and files in their order,
// the lengths and chunks, the log, and the ways a download stops.
#include <filesystem>

#include "ToolsTestSupport.h"
#include "app/HtmlDownloadDlg.h"
#include "res/ToolsResource.h"

namespace {

class HtmlDownloadTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        UseProduct("QVX-ENET", 94, 4);
    }
    void UseProduct(const std::string& product, unsigned id, int lengthBytes) {
        g_szProductName = g_szProductPath = g_szProductNameCopy = product;
        g_nDeviceId = g_nDeviceIdAlt = id;
        Unit([&](unitsim::Behaviour& b) {
            b.productCode = uint8_t(id);
            b.webLengthBytes = lengthBytes;
            // The tool clears its input right after 0x40 0x40, as it may: the echo comes
            // a little later, as it would on a real line.
            b.echoDelayMs = 40;
        });
    }
    // Runs the dialog on COM7: Download once with the script's boxes; the end code.
    int Run(const std::function<void()>& answers = {}) {
        CHtmlDownloadDlg dlg(nullptr, LogPath());
        dlg.Port().SetClock(&clock);
        ui.ExpectModal(IDD_HTML_DOWNLOAD, [&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "HTML Downloading");
            d.Item(IDC_WEB_COM_PORT).UserType("COM7");
            if (answers) answers();
            d.UserClickButton(IDC_WEB_DOWNLOAD);
            if (!d.IsEnded()) d.UserClickButton(ui::IDOK);
        });
        const int result = dlg.DoModal();
        EXPECT_FALSE(dlg.Port().IsOpen());
        Settle();
        return result;
    }
    std::string LogPath() const { return tree.Path() + "LOG.txt"; }
    static std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
};

}  // namespace

TEST(WebFileOrder, NamesGoByTheirLeadingNumberAndEqualKeysKeepTheirOrder) {
    std::vector<WebFileEntry> files = {{"/w/10.html", 1}, {"/w/2.html", 1}, {"/w/index.html", 1}, {"/w/about.html", 1}};
    CHtmlDownload::SortFoundFiles(files);
    std::vector<std::string> order;
    for (const auto& f : files) order.push_back(f.path);
    EXPECT_EQ(order, (std::vector<std::string>{"/w/index.html", "/w/about.html", "/w/2.html", "/w/10.html"}));
    // Equal keys behind a smaller one keep their order too.
    files = {{"/w/5.html", 1}, {"/w/5b.html", 1}, {"/w/1.html", 1}};
    CHtmlDownload::SortFoundFiles(files);
    EXPECT_EQ(files[1].path, "/w/5.html");
    EXPECT_EQ(files[2].path, "/w/5b.html");
}

TEST_F(HtmlDownloadTest, TheEthernetProductSendsAllFiveTypesInOrder) {
    const int result = Run([&] { ui.AnswerMessageBox(ui::IDOK, kMsgWebDone); });
    EXPECT_EQ(result, ui::IDOK);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].caption, "Complete");
    const auto downloads = sim.WebDownloads();
    ASSERT_EQ(downloads.size(), 1u);
    const unitsim::WebDownload& web = downloads[0];
    EXPECT_EQ(web.typeCount, 5);
    EXPECT_TRUE(web.finished);
    ASSERT_EQ(web.types.size(), 5u);
    const size_t counts[5] = {2, 0, 1, 1, 0};  // .htm, .gif, .css, .js, .jar
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(web.types[i].code, i + 1);
        EXPECT_EQ(web.types[i].files.size(), counts[i]) << i;
        EXPECT_TRUE(web.types[i].ended);
    }
    std::vector<uint8_t> page = Bytes(tree.Read("QVX-ENET/Web Pages/2status.htm"));
    if (page.size() & 1) page.push_back(0x00);
    EXPECT_EQ(web.types[0].files[1], page);
    // The unit's report, as it prints it when stopped, tells what it took.
    const std::string report = sim.Report();
    EXPECT_NE(report.find("web pages: 5 types, 4 files, "), std::string::npos) << report;
    EXPECT_NE(report.find("  type 1: 2 files " + std::to_string(web.types[0].files[0].size()) + " " +
                          std::to_string(page.size()) + " bytes\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("  type 2: 0 files\n"), std::string::npos) << report;
    EXPECT_EQ(sim.Commands(), (std::vector<uint16_t>{0x10AA, 0x4040}));
    // The log names each file by its place in its type and its size.
    const std::string log = tree.Read("LOG.txt");
    EXPECT_EQ(log.rfind(" File Number - 0\n Size - ", 0), 0u) << log;
    EXPECT_NE(log.find(" File Number - 1\n"), std::string::npos);
}

TEST_F(HtmlDownloadTest, TheSmallProductsTakeTheHtmlFolderInChunksWithTwoByteLengths) {
    UseProduct("QVX-S7", 90, 2);
    std::filesystem::remove_all(tree.Path() + "HTML");  // the sample pages
    tree.Write("HTML/10.html", std::string(513, 'a'));
    tree.Write("HTML/2.html", "xyz");
    tree.Write("HTML/index.html", "<p>hi</p>");
    Unit([](unitsim::Behaviour& b) { b.webNoiseBeforeAck = {0x11, 0x22}; });
    EXPECT_EQ(Run([&] { ui.AnswerMessageBox(ui::IDOK, kMsgWebDone); }), ui::IDOK);
    const auto downloads = sim.WebDownloads();
    ASSERT_EQ(downloads.size(), 1u);
    const auto& web = downloads[0];
    EXPECT_EQ(web.typeCount, 1);
    ASSERT_EQ(web.types.size(), 1u);
    EXPECT_EQ(web.types[0].code, 1);
    ASSERT_EQ(web.types[0].files.size(), 3u);
    EXPECT_EQ(web.types[0].files[0], Bytes(std::string("<p>hi</p>") + '\0'));
    EXPECT_EQ(web.types[0].files[1], (std::vector<uint8_t>{'x', 'y', 'z', 0x00}));
    std::vector<uint8_t> big(513, 'a');
    big.push_back(0x20);
    EXPECT_EQ(web.types[0].files[2], big);
    // Each file's length went as two bytes, high first: 514 = 02 02.
    const auto received = sim.Received();
    const std::vector<uint8_t> lengthOfBig = {0x02, 0x02, 'a'};
    EXPECT_NE(std::search(received.begin(), received.end(), lengthOfBig.begin(), lengthOfBig.end()), received.end());
}

TEST_F(HtmlDownloadTest, AFileTooLargeForTheSmallProductsIsRefusedBeforeTheUnitHearsAnything) {
    UseProduct("QVX-S7", 96, 2);
    std::filesystem::remove_all(tree.Path() + "HTML");
    tree.Write("HTML/big.png", std::string(63999, 'p'));
    EXPECT_EQ(Run([&] { ui.AnswerMessageBox(ui::IDOK, kMsgWebTooLarge); }), 0);
    EXPECT_TRUE(sim.Received().empty());
}

TEST_F(HtmlDownloadTest, ARefusedFileStopsTheDownloadWithoutTheEnd) {
    Unit([](unitsim::Behaviour& b) { b.webFileAnswer = 0xE0; });
    Run([&] { ui.AnswerMessageBox(ui::IDOK, kMsgWebFileError); });
    const auto downloads = sim.WebDownloads();
    ASSERT_EQ(downloads.size(), 1u);
    const auto& web = downloads[0];
    ASSERT_EQ(web.types.size(), 1u);
    EXPECT_EQ(web.types[0].files.size(), 1u);
    EXPECT_FALSE(web.finished);
}

TEST_F(HtmlDownloadTest, AFailedConnectionAMissingPortOrNoFilesIsReported) {
    // The unit hears the command but never answers it.
    Unit([](unitsim::Behaviour& b) { b.ignoreCommands = true; });
    Run([&] { ui.AnswerMessageBox(ui::IDOK, kMsgWebCommError); });

    // Another product: the mismatch, the communication error, 0x08 0x08 twice.
    Unit([](unitsim::Behaviour& b) {
        b.ignoreCommands = false;
        b.productCode = 98;
    });
    Run([&] {
        ui.AnswerMessageBox(ui::IDOK, kMsgWebMismatch);
        ui.AnswerMessageBox(ui::IDOK, kMsgWebCommError);
    });
    EXPECT_EQ(sim.MismatchNotices(), 2);
    EXPECT_EQ(g_bLinkFailed, 1);

    CHtmlDownloadDlg dlg(nullptr, LogPath());
    ui.ExpectModal(IDD_HTML_DOWNLOAD, [&](ui::Dialog& d) {
        d.Item(IDC_WEB_COM_PORT).UserType("COM9");
        ui.AnswerMessageBox(ui::IDOK, kMsgWebPortBusy);
        d.UserClickButton(IDC_WEB_DOWNLOAD);
        UseProduct("QVX-S7", 90, 2);
        std::filesystem::remove_all(tree.Path() + "HTML");  // no web pages at all
        ui.AnswerMessageBox(ui::IDOK, kMsgWebNoFiles);
        d.UserClickButton(IDC_WEB_DOWNLOAD);
        d.UserClickButton(ui::IDOK);
    });
    dlg.DoModal();
}

// The bar moves across a file of many chunks instead of standing at its end after the first.
TEST_F(HtmlDownloadTest, ProgressMovesAcrossAFileOfManyChunks) {
    UseProduct("QVX-S7", 90, 2);
    std::filesystem::remove_all(tree.Path() + "HTML");
    tree.Write("HTML/index.html", std::string(512 * 20, 'a'));  // 20 chunks
    struct Watched : CHtmlDownloadDlg {
        using CHtmlDownloadDlg::CHtmlDownloadDlg;
        void SetProgressPos(int position) override {
            CHtmlDownloadDlg::SetProgressPos(position);
            positions.push_back(position);
        }
        std::vector<int> positions;
    } dlg(nullptr, LogPath());
    dlg.Port().SetClock(&clock);
    ui.ExpectModal(IDD_HTML_DOWNLOAD, [&](ui::Dialog& d) {
        d.Item(IDC_WEB_COM_PORT).UserType("COM7");
        ui.AnswerMessageBox(ui::IDOK, kMsgWebDone);
        d.UserClickButton(IDC_WEB_DOWNLOAD);
        if (!d.IsEnded()) d.UserClickButton(ui::IDOK);
    });
    dlg.DoModal();
    const auto from = std::find(dlg.positions.begin(), dlg.positions.end(), 2);
    ASSERT_NE(from, dlg.positions.end());
    const std::vector<int> file(from, dlg.positions.end());
    ASSERT_GE(file.size(), 21u);
    EXPECT_TRUE(std::is_sorted(file.begin(), file.begin() + 21));
    EXPECT_EQ(file[10], 2 + 98 * 10 / 20);  // half the chunks, half the bar
    EXPECT_EQ(file[20], 100);
}
