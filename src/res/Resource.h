#pragma once
// Resource ids of the program: dialogs, controls, commands, menus, strings.
// One header per part of the program, all reachable from here.
#include "res/ShellResource.h"
#include "res/TransferResource.h"
#include "res/EditorResource.h"
