// Project files come from other machines and other versions: any bytes must parse or be
// refused without a crash, and the section check must stay within the file.
#include "projectfiles/ProjectFileReader.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const unsigned flags = data[0];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    NewerProjectFile file;
    ProjectParse result = ParseNewerProjectFile(bytes, file);
    FeatureSet features;
    features.extended = true;
    features.ethernet = flags & 1;
    features.tags = flags & 2;
    features.recipes = flags & 4;
    features.attach1 = flags & 8;
    features.attach2 = flags & 16;
    features.entity1 = flags & 32;
    features.entity2 = flags & 64;
    size_t offset = result == ProjectParse::Ok ? file.sectionsOffset : (flags & 128 ? 0 : bytes.size() / 2);
    (void)CheckFeatureSections(bytes, offset, features);
    // The whole check, with the search for a wrong count: any bytes, a bounded time.
    std::vector<std::string> missing;
    (void)CheckNewerProjectFile(bytes, features, missing);
    return 0;
}
