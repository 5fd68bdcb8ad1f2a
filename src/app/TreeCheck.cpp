#include "app/TreeCheck.h"

#include "platform/Paths.h"

#include <cstdio>

int RunTreeCheck(int, char**) {
    std::printf("Program folder: %s\n", platform::GetProgramFolder().c_str());
    return 0;
}
