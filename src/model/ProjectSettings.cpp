#include "model/ProjectSettings.h"

#include <ctime>

CProjectSettings::CProjectSettings() {
    for (int& t : g_anPortTimeout) t = 5;
}

CProjectSettings g_ProjectSettings;

std::string ProjectTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    size_t n = std::strftime(text, sizeof text, "%A, %B %d, %Y, %I:%M:%S %p", &local);
    return std::string(text, n);
}
