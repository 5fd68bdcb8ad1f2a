#include "ui/Backend.h"
#include "ui/FrameHost.h"

#include <cstdio>

#include "ui/HeadlessBackend.h"

namespace ui {

namespace {

Backend* g_backend = nullptr;
int g_waitDepth = 0;
std::function<void()> g_helpHandler;

HeadlessBackend& DefaultBackend() {
    static HeadlessBackend backend;
    static bool ready = false;
    if (!ready) {
        ready = true;
        backend.SetFailureHandler([](const std::string& what) {
            std::fprintf(stderr, "ui: %s\n", what.c_str());
        });
    }
    return backend;
}

}  // namespace

Backend& GetBackend() { return g_backend ? *g_backend : DefaultBackend(); }

namespace {
bool g_inputDuringWaits = false;
}  // namespace

void SetInputDuringWaits(bool on) { g_inputDuringWaits = on; }
bool InputDuringWaits() { return g_inputDuringWaits; }

void SetBackend(Backend* backend) { g_backend = backend; }

namespace {
int g_messageBoxesShown = 0;
}  // namespace

int MessageBoxesShown() { return g_messageBoxesShown; }

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    ++g_messageBoxesShown;
    // A box without a caption of its own carries the program's name, as the main window does.
    return GetBackend().MessageBox(text, caption.empty() ? std::string(kProgramName) : caption, flags);
}

void SetClipboardText(const std::string& text) { GetBackend().SetClipboardText(text); }

std::string GetClipboardText() { return GetBackend().GetClipboardText(); }

WaitCursor::WaitCursor() {
    if (g_waitDepth++ == 0) GetBackend().SetWaitCursor(true);
}

WaitCursor::~WaitCursor() {
    if (--g_waitDepth == 0) GetBackend().SetWaitCursor(false);
}

int WaitCursorDepth() { return g_waitDepth; }

void SetHelpHandler(std::function<void()> handler) { g_helpHandler = std::move(handler); }

void ShowHelp() {
    if (FrameHost* frame = GetFrameHost()) frame->ShowHelp();
    else if (g_helpHandler) g_helpHandler();
}

FileDialog::FileDialog(bool open, std::string defaultExt, std::string fileName, unsigned flags,
                       std::string filter)
    : m_open(open), m_defaultExt(std::move(defaultExt)), m_fileName(std::move(fileName)),
      m_filter(std::move(filter)), m_flags(flags) {}

int FileDialog::DoModal() { return GetBackend().RunFileDialog(*this) ? IDOK : IDCANCEL; }

std::vector<std::pair<std::string, std::string>> FileDialog::FilterPairs() const {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> parts;
    std::string cur;
    for (char c : m_filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].empty()) pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

std::string FileDialog::GetFileName() const {
    const size_t slash = m_path.find_last_of("/\\");
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

void FileDialog::SetChosenPath(const std::string& path) {
    m_path = path;
    const size_t slash = m_path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? m_path : m_path.substr(slash + 1);
    if (!m_defaultExt.empty() && !name.empty() && name.find('.') == std::string::npos)
        m_path += "." + m_defaultExt;
}

}  // namespace ui
