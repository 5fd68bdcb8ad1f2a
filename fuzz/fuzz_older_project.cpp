// Project files of the older generation (and the three-port product's, which share the
// layout): any bytes must parse or be refused without a crash or a read past the file,
// in both row widths, with and without the project texts.
#include "projectfiles/OlderProjectFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    OlderProjectFile head;
    ParseOlderProjectHead(bytes, head);
    for (bool slave : {false, true})
        for (bool texts : {false, true}) {
            OlderProjectFile file = head;
            if (ParseOlderProjectRows(bytes, slave, texts, file) == OlderParse::Ok && file.rows.size() > 255) __builtin_trap();
        }
    return 0;
}
