#include "app/ProjectSettings.h"

CProjectSettings::CProjectSettings() {
    for (int& t : g_anPortTimeout) t = 5;
}

CProjectSettings g_ProjectSettings;
