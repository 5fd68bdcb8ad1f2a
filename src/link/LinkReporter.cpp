#include "link/LinkReporter.h"

#include <cstdio>

namespace {
class StderrReporter : public ILinkReporter {
public:
    int ShowMessage(const std::string& text, const std::string& caption, unsigned) override {
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ",
                     text.c_str());
        return linkmb::kIdOk;
    }
};

StderrReporter g_stderrReporter;
ILinkReporter* g_defaultReporter = nullptr;
}  // namespace

ILinkReporter& DefaultLinkReporter() {
    if (g_defaultReporter) return *g_defaultReporter;
    return g_stderrReporter;
}

void SetDefaultLinkReporter(ILinkReporter* reporter) { g_defaultReporter = reporter; }
