#include "plc/OpenProjectReset.h"

#include "model/ProjectReset.h"
#include "plc/PlcRegisterTables.h"

void ResetOpenProject() {
    ResetProjectModel();
    CPlcRegisterTables& t = g_PlcRegisterTables;
    t.ResetProject();
    t.g_nBlockWordLimit = 0;
}
