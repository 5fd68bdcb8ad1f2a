// Internal-database image files lie beside projects and come back from units: any bytes
// must give pane rows without a crash, for both ports and both COM2 layouts, and the rows
// must encode again.
#include "compiler/IdbImage.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int port : {1, 2})
        for (bool can : {false, true}) {
            if (port == 1 && can) continue;
            const std::vector<IdbPaneRow> rows = DecodeIdbImage(bytes, port, can, can ? "150" : "102");
            (void)EncodeIdbImage(rows, port);
        }
    return 0;
}
