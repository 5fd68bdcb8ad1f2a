#include "app/QuorvexApp.h"

#include <cstdio>
#include <filesystem>
#include <strings.h>

#include "app/AboutDlg.h"
#include "model/RunTimeState.h"
#include "app/ShellHelp.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "plc/DefinitionFiles.h"
#include "res/ShellResource.h"
#include "ui/Backend.h"

CQuorvexApp theApp;

namespace {

// Paths and product names are read whole (no fixed-size cut).
constexpr size_t kWhole = 4096;

bool EqualNoCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// The running program's file, for its registration.
std::string ProgramPath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? platform::GetProgramFolder() + "quorvex" : exe.string();
}

}  // namespace

const ui::HandlerTable* CQuorvexApp::GetHandlerTable() const {
    static const ui::HandlerTable table(ui::CmdTarget::GetHandlerTable(), {
        ui::On(ui::Notify::Command, ID_APP_ABOUT, &CQuorvexApp::OnAppAbout),
    });
    return &table;
}

CQuorvexApp::CommandLine CQuorvexApp::ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (const std::string& arg : args) {
        if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '/')) continue;
        const std::string flag = arg.substr(1);
        if (EqualNoCase(flag, "Embedding")) cl.embedded = true;
        else if (EqualNoCase(flag, "Automation")) cl.automated = true;
        else if (EqualNoCase(flag, "RegServer")) cl.regServer = true;
        else if (EqualNoCase(flag, "UnregServer")) cl.unregServer = true;
    }
    return cl;
}

std::string ProductFromProjectPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    // The last component is the file name; "Projects" must be a folder in front of it.
    for (size_t i = parts.size(); i-- > 1;)
        if (EqualNoCase(parts[i], "Projects") && !parts[i - 1].empty()) return parts[i - 1];
    return std::string();
}

std::string FindStartProduct() {
    const std::string catalogue = deffiles::ProductsInf();
    const std::string folder = platform::GetProgramFolder();
    const int recent = platform::Atoi(deffiles::ReadText(catalogue, "ProjectFile", "ProjectCount",
                                                         deffiles::kCorruptProductFile, 260));
    if (recent > 0) {
        const std::string prj1 = deffiles::ReadText(catalogue, "ProjectFile", "Prj1", "1", kWhole);
        const std::string product = ProductFromProjectPath(prj1);
        if (!product.empty() && platform::DirectoryExists(platform::ResolvePath(folder + product)))
            return product;
    }
    const int count = platform::BoundedCount(platform::Atoi(deffiles::ReadText(catalogue, "ProductList", "ProductCount",
                                                                               deffiles::kCorruptProductFile, 260)),
                                             platform::kMaxListCount, catalogue, "ProductCount");
    for (int n = 1; n <= count; ++n) {
        const std::string name = deffiles::ReadText(catalogue, "ProductList",
                                                    deffiles::NumberedKey("Product", n), "1", kWhole);
        if (!name.empty() && platform::DirectoryExists(platform::ResolvePath(folder + name)))
            return name;
    }
    return std::string();
}

bool CQuorvexApp::InitATL(const std::vector<std::string>& args) {
    m_bATLInited = 1;
    const CommandLine cl = ParseCommandLine(args);
    if (cl.unregServer || cl.regServer) {
        // No COM here: the registration is the program's entry in its settings file.
        bool ok;
        if (cl.unregServer) {
            ok = m_profile.RemoveSection("AppID");
        } else {
            ok = m_profile.WriteProfileString("AppID", "Quorvex", "Quorvex Setup Software") &&
                 m_profile.WriteProfileString("AppID", "LocalServer", ProgramPath());
        }
        if (!ok)
            std::fprintf(stderr, "quorvex: cannot write the settings file %s\n",
                         m_profile.FilePath().c_str());
        m_nExitCode = ok ? 0 : 1;
        m_bATLInited = 0;
        return false;
    }
    return true;
}

bool CQuorvexApp::InitInstance(const std::vector<std::string>& args) {
    m_nExitCode = 0;
    const CommandLine cl = ParseCommandLine(args);
    if (cl.embedded || cl.automated) return false;  // no server to serve: end at once

    m_profile.SetRegistryKey("Quorvex");
    if (!InitATL(args)) return false;
    m_profile.LoadStdProfileSettings(4);
    // A program killed while it replaced the recent list left its replacement beside it.
    platform::RemoveStaleReplacements(deffiles::ProductsInf());
    // F1 and the Help command open the page of the current topic.
    ui::SetHelpHandler([] { OpenHelpTopic(g_szHelpTopic); });

    g_szProductPath.clear();
    g_szProductName.clear();
    const std::string product = FindStartProduct();
    g_szProductName = product;
    g_szProductPath = product;
    g_szProductNameCopy = g_szProductPath;

    if (m_pfnCreateMainWindow && !m_pfnCreateMainWindow()) {
        m_nExitCode = 1;
        return false;
    }
    return true;
}

int CQuorvexApp::ExitInstance() {
    if (m_bATLInited) m_bATLInited = 0;
    m_profile.SaveStdProfileSettings();
    return m_nExitCode;
}

void CQuorvexApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
