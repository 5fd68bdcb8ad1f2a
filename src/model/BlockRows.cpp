#include "model/BlockRows.h"

BlockRows g_BlockListRows;
OlderBlockRows g_OlderBlockListRows;
