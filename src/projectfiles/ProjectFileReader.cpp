#include "projectfiles/ProjectFileReader.h"

#include "model/ExtendedTables.h"
#include "model/ProjectFileFormat.h"
#include "projectfiles/ProjectFileSections.h"
#include "model/ProjectSettings.h"
#include "projectfiles/ProjectFileWriter.h"
#include "projectfiles/ProjectOpenSteps.h"
#include "model/RunTimeState.h"
#include "compiler/IdbDerivation.h"
#include "compiler/IdbImage.h"
#include "plc/FeatureKeys.h"
#include "plc/DefinitionFiles.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "res/StringTable.h"
#include "model/IpAddress.h"
#include "model/TableResets.h"
#include "ui/Backend.h"

#include <algorithm>
#include <bit>
#include <cstring>

using namespace prjfile;
using platform::Atoi;

ProjectParse ParseNewerProjectFile(const std::string& bytes, NewerProjectFile& out) {
    FieldReader r(bytes);
    out.tag = r.Text(kTagWidth);
    if (!r.Ok() || out.tag != kFileTag) return ProjectParse::NotAProject;
    out.needed = kBlockRowsOffset;
    if (bytes.size() >= kFormatNumberOffset + 1) out.formatNumber = static_cast<signed char>(bytes[kFormatNumberOffset]);
    // The product record decides which reader takes the file, short or not: read as zeros
    // past the end.
    {
        FieldReader head(bytes, kProductRecordOffset);
        out.productStar1 = head.Byte();
        out.productNo = head.SignedByte();
        out.productVersion = head.SignedByte();
        out.productStar2 = head.Byte();
    }
    if (bytes.size() < kBlockRowsOffset) return ProjectParse::Corrupt;
    r.Seek(kFormatNumberOffset);
    out.formatNumber = r.SignedByte();
    r.Seek(kSettingsOffset);
    for (unsigned char& b : out.settings) b = static_cast<unsigned char>(r.Byte());
    out.ctrlWordAddr = r.Text(kAddressTextWidth);
    out.errBitAddr1 = r.Text(kAddressTextWidth);
    out.errBitAddr2 = r.Text(kAddressTextWidth);
    for (int& v : out.advSetting2) v = r.Byte();
    out.productStar1 = r.Byte();
    out.productNo = r.SignedByte();
    out.productVersion = r.SignedByte();
    out.productStar2 = r.Byte();
    out.ctrlWordStation = r.Byte();
    out.ctrlWordWords = r.Byte();
    out.errBit1 = r.Byte();
    out.errBit2 = r.Byte();
    out.extendedSetup = r.Byte();

    r.Seek(kBlockCountOffset);
    const unsigned count = r.U16LE();
    out.blockCount = count;
    if (count > kMaxBlocks) {
        out.needed = 0;
        return ProjectParse::Corrupt;
    }
    out.hasTexts = out.formatNumber >= kProjectTextsFormat;
    const size_t needed = kBlockRowsOffset + count * kBlockRowSize + (out.hasTexts ? kProjectTextsSize : 0);
    out.needed = needed;
    if (bytes.size() < needed) return ProjectParse::Corrupt;
    out.rows.clear();
    for (unsigned i = 0; i < count; ++i) {
        BlockRow row;
        for (size_t c = 0; c < kBlockColumns; ++c) row[c] = r.Text(kBlockColumnWidths[c]);
        out.rows.push_back(row);
    }
    if (out.hasTexts)
        for (int i = 0; i < 5; ++i) out.texts[i] = r.Text(kProjectTextWidths[i]);
    out.sectionsOffset = r.Tell();
    return r.Ok() ? ProjectParse::Ok : ProjectParse::Corrupt;
}

FeatureSet ReadFeatureSet(const std::string& plc1File, const std::string& plc2File) {
    auto on = [](const std::string& file, const char* key) {
        return platform::GetPrivateProfileInt("Extended Setup", key, -1, file) == 1;
    };
    FeatureSet f;
    f.extended = on(plc1File, "ExtendedSetup") || on(plc2File, "ExtendedSetup");
    if (!f.extended) return f;
    f.ethernet = on(plc1File, "EthernetSetting") || on(plc2File, "EthernetSetting");
    f.tags = on(plc1File, "TagTable") || on(plc2File, "TagTable");
    f.recipes = on(plc1File, "Recipes") || on(plc2File, "Recipes");
    f.attach1 = on(plc1File, "AttachRegCom1");
    f.attach2 = on(plc2File, "AttachRegCom2");
    f.entity1 = on(plc1File, "GeneralEntityCom1");
    f.entity2 = on(plc2File, "GeneralEntityCom2");
    // The bytes the items of a port's general settings take, as the feature keys add them.
    auto bytes = [](const std::string& file, const char* section) {
        const int count = std::min(platform::GetPrivateProfileInt(section, "SubEntity", -1, file), 200);
        int sum = 0;
        for (int i = 1; i <= count; ++i) {
            const std::string item =
                platform::GetPrivateProfileString(section, "SubEntity" + std::to_string(i), "Not Available", 150, file);
            const std::vector<std::string> fields = platform::Split(item, ',');
            sum += Atoi(platform::Field(fields, 1));
        }
        return sum;
    };
    if (f.entity1) f.entityBytes1 = bytes(plc1File, "GeneralEntityCom1");
    if (f.entity2) f.entityBytes2 = bytes(plc2File, "GeneralEntityCom2");
    return f;
}

namespace {

// The sections a file of these features holds after its texts, in their order.
enum class SectionKind { Nodes, Tags, Recipes, Attach1, Attach2, Entity1, Entity2 };
struct SectionSpec {
    bool on;
    SectionKind kind;
    const char* name;
    int code;  // its first byte; 0: a section without a code
};

// The feature tables emptied before a file's sections are read into them.
void ClearFeatureTables(const FeatureSet& f) {
    ClearRecipeTables();
    ResetDefCommRegisters();
    ResetGeneralEntity();
    g_bGeneralEntityCom1 = f.entity1;
    g_bGeneralEntityCom2 = f.entity2;
}

std::vector<SectionSpec> Sections(const FeatureSet& f) {
    return {
        {f.ethernet, SectionKind::Nodes, "node table", 0},
        {f.tags, SectionKind::Tags, "tag table", 0},
        {f.recipes, SectionKind::Recipes, "recipes", kRecipeSectionCode},
        {f.attach1, SectionKind::Attach1, "default communication registers of COM1", kAttachRegCom1SectionCode},
        {f.attach2, SectionKind::Attach2, "default communication registers of COM2", kAttachRegCom2SectionCode},
        {f.entity1, SectionKind::Entity1, "general settings of COM1", kGeneralEntityCom1SectionCode},
        {f.entity2, SectionKind::Entity2, "general settings of COM2", kGeneralEntityCom2SectionCode},
    };
}

bool IsEntity(SectionKind k) { return k == SectionKind::Entity1 || k == SectionKind::Entity2; }

bool ReadOneSection(FieldReader& r, SectionKind kind) {
    switch (kind) {
    case SectionKind::Nodes: return ReadNodeTableSection(r);
    case SectionKind::Tags: return ReadTagTableSection(r);
    case SectionKind::Recipes: return ReadRecipeSection(r);
    case SectionKind::Attach1: return ReadAttachRegSection(r, 1);
    case SectionKind::Attach2: return ReadAttachRegSection(r, 2);
    case SectionKind::Entity1: return ReadGeneralEntitySection(r, 1);
    case SectionKind::Entity2: return ReadGeneralEntitySection(r, 2);
    }
    return false;
}

// The section as this program's writer makes it of what was just read into the holders.
std::string WriteOneSection(SectionKind kind, int entityItems) {
    std::string out;
    FieldWriter w(out);
    const CGeneralEntityTables& g = g_GeneralEntity;
    switch (kind) {
    case SectionKind::Nodes: WriteNodeTableSection(w); break;
    case SectionKind::Tags: WriteTagTableSection(w); break;
    case SectionKind::Recipes: WriteRecipeSection(w); break;
    case SectionKind::Attach1: WriteAttachRegSection(w, 1); break;
    case SectionKind::Attach2: WriteAttachRegSection(w, 2); break;
    case SectionKind::Entity1:
    case SectionKind::Entity2: {
        const bool one = kind == SectionKind::Entity1;
        const int length = one ? g.g_nExtSetupLen1 : g.g_nExtSetupLen2;
        w.Byte(one ? kGeneralEntityCom1SectionCode : kGeneralEntityCom2SectionCode);
        w.Byte(entityItems);
        w.Byte(length);
        w.Raw(std::string(reinterpret_cast<const char*>(one ? g.g_abExtSetup1 : g.g_abExtSetup2),
                          static_cast<size_t>(length)));
        break;
    }
    }
    return out;
}

// The node table and the tag table are one thing each; the other sections' names are plural.
bool Singular(const std::string& name) { return name.size() > 5 && name.compare(name.size() - 5, 5, "table") == 0; }

std::string At(size_t position) { return " (byte " + std::to_string(position) + ")"; }

// A count of the file: where it stands and what it counts.
struct FileCount {
    size_t at;
    std::string what;  // "" for the block count
    bool bytes;        // it counts bytes, not rows
    int fits = -1;     // the bytes the PLC definition gives (general settings; -1: no measure)
};

// The file read as this program's writer would have written it: the fixed part, rows and
// texts with the fill the writer leaves, every section the features promise in its place
// and written back byte for byte as it stands. A file may end before its last sections
// (they are `missing`); anything else that departs is `damage`.
struct Reading {
    NewerProjectFile file;
    ProjectParse parse = ProjectParse::Corrupt;
    bool whole = false;         // read as written up to the end (missing sections aside)
    std::string damage;         // the first departure, as the message says it
    std::vector<std::string> missing;
    size_t trailing = 0;        // bytes after what was read as written
    std::vector<FileCount> counts;
    bool cutInSection = false;  // it ends inside a section whose code stands in its place
};

// A text field as the writer leaves it: after the text's zero byte only the fill.
bool FilledAsWritten(const std::string& bytes, size_t offset, size_t width, char fill) {
    const char* field = bytes.data() + offset;
    const char* zero = static_cast<const char*>(std::memchr(field, '\0', width));
    if (!zero) return true;
    for (const char* p = zero + 1; p < field + width; ++p)
        if (*p != fill) return false;
    return true;
}

// No control character: a name may hold any other character of its code page.
bool Printable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 0x20 && u != 0x7F;
    });
}

// rowsKnown: the rows and texts are those of a reading that found them as written.
Reading ReadAsWritten(const std::string& bytes, const FeatureSet& f, bool rowsKnown = false) {
    Reading out;
    out.counts.push_back({kBlockCountOffset, "", false});
    out.parse = ParseNewerProjectFile(bytes, out.file);
    const NewerProjectFile& file = out.file;
    if (out.parse != ProjectParse::Ok) return out;
    size_t pos = kBlockRowsOffset;
    for (unsigned row = 0; row < file.blockCount && !rowsKnown; ++row) {
        for (size_t c = 0; c < kBlockColumns; ++c) {
            if (c != kColBlockNo && !FilledAsWritten(bytes, pos, kBlockColumnWidths[c], '\0')) {
                out.damage = "its block row " + std::to_string(row + 1) + " holds bytes that no block row holds" +
                             At(pos) + ".";
                return out;
            }
            pos += kBlockColumnWidths[c];
        }
    }
    if (file.hasTexts && !rowsKnown) {
        for (size_t width : kProjectTextWidths) {
            // Filled with "*" as written; earlier files may have zeros.
            if (!FilledAsWritten(bytes, pos, width, kProjectTextFill) && !FilledAsWritten(bytes, pos, width, '\0')) {
                out.damage = "its project texts hold bytes that no project text holds" + At(pos) + ".";
                return out;
            }
            pos += width;
        }
    }
    const size_t end = file.sectionsOffset;
    if (file.extendedSetup != 1 || !f.extended) {
        out.trailing = bytes.size() - end;
        out.whole = out.trailing == 0;
        return out;
    }
    ClearFeatureTables(f);
    FieldReader r(bytes, end);
    for (const SectionSpec& section : Sections(f)) {
        if (!section.on) continue;
        if (r.Remaining() == 0) {
            out.missing.push_back(section.name);
            continue;
        }
        const size_t start = r.Tell();
        const std::string name = section.name;
        if (section.code != 0 && static_cast<unsigned char>(bytes[start]) != section.code) {
            out.damage = "its " + name + " are not where its header and the sections before them place them: at byte " +
                         std::to_string(start) + " stands " + std::to_string(static_cast<unsigned char>(bytes[start])) +
                         ", not the section's code " + std::to_string(section.code) + ".";
            return out;
        }
        const size_t countAt = start + (section.code != 0 ? 1 : 0);
        if (!IsEntity(section.kind)) out.counts.push_back({countAt, name, false});
        else out.counts.push_back({start + 2, name, true,
                                   section.kind == SectionKind::Entity1 ? f.entityBytes1 : f.entityBytes2});
        if (!ReadOneSection(r, section.kind)) {
            // Ended before its counts: no count can be the fault.
            const bool beforeCounts = out.counts.back().at >= bytes.size();
            out.cutInSection = !r.Ok() && section.code != 0;
            out.damage = r.Ok() ? "its " + name + (Singular(name) ? " holds" : " hold") + " more than a project holds" +
                                      At(start) + "."
                                : "it ends inside its " + name +
                                      (beforeCounts ? " (the file is cut short)."
                                                    : " (the file is cut short, or a count of that section is more than it holds).");
            return out;
        }
        if (section.kind == SectionKind::Recipes) {
            const CRecipeTables& t = g_RecipeTables;
            for (size_t i = 0; i < t.g_arrRecipeAddr.size(); ++i) {
                if (Printable(t.g_arrRecipeAddr[i])) continue;
                out.damage = "its recipes' row " + std::to_string(i + 1) +
                             " is no recipe row: its address holds bytes that no register's name holds.";
                return out;
            }
        }
        // The item count of general settings is not read: the PLC definition gives it, and
        // a definitions update may have added items since the file was saved.
        const int items = IsEntity(section.kind) ? static_cast<unsigned char>(bytes[start + 1]) : 0;
        const std::string written = WriteOneSection(section.kind, items);
        const std::string held = bytes.substr(start, r.Tell() - start);
        if (written != held) {
            size_t k = 0;
            while (k < written.size() && k < held.size() && written[k] == held[k]) ++k;
            out.damage = "its " + name +
                         (Singular(name) ? " is not as this program writes it" : " are not as this program writes them") +
                         At(start + k) + ".";
            return out;
        }
    }
    out.trailing = r.Remaining();
    out.whole = out.trailing == 0;
    return out;
}

// Keeps the holders the section readers fill (the open project's) and puts them back.
class HolderGuard {
public:
    HolderGuard()
        : m_nodes(g_EthNodeTable), m_tags(g_EipTagTable), m_recipes(g_RecipeTables), m_registers(g_DefCommRegs),
          m_entity(g_GeneralEntity),
          m_flags{g_bGeneralEntityCom1, g_bGeneralEntityCom2, g_bExtSetupError1, g_bExtSetupError2, g_nRecipeState} {}
    ~HolderGuard() {
        g_EthNodeTable = m_nodes;
        g_EipTagTable = m_tags;
        g_RecipeTables = m_recipes;
        g_DefCommRegs = m_registers;
        g_GeneralEntity = m_entity;
        g_bGeneralEntityCom1 = m_flags[0];
        g_bGeneralEntityCom2 = m_flags[1];
        g_bExtSetupError1 = m_flags[2];
        g_bExtSetupError2 = m_flags[3];
        g_nRecipeState = m_flags[4];
    }
    HolderGuard(const HolderGuard&) = delete;
    HolderGuard& operator=(const HolderGuard&) = delete;

private:
    CEthNodeTable m_nodes;
    CEipTagTable m_tags;
    CRecipeTables m_recipes;
    CDefCommRegTables m_registers;
    CGeneralEntityTables m_entity;
    int m_flags[5];
};

// A file that does not read as written: when one of its counts, set to another value,
// makes the whole file read as written, that count is the damage.
std::string FindWrongCount(const std::string& bytes, const FeatureSet& f, const Reading& first, bool& valueLength) {
    std::string patched = bytes;
    for (const FileCount& count : first.counts) {
        if (count.at >= bytes.size()) continue;
        const int promised = static_cast<unsigned char>(bytes[count.at]);
        const bool blocks = count.what.empty();
        if (blocks && bytes.size() > kBlockCountOffset + 1 && bytes[kBlockCountOffset + 1] != 0) continue;
        for (int delta = 1; delta <= 255; ++delta) {
            for (int held : {promised - delta, promised + delta}) {
                if (held < 0 || held > 255) continue;
                // Rows the file has no room for need not be tried.
                if (blocks && kBlockRowsOffset + size_t(held) * kBlockRowSize > bytes.size()) continue;
                patched[count.at] = static_cast<char>(held);
                const Reading trial = ReadAsWritten(patched, f, !blocks);
                patched[count.at] = bytes[count.at];
                // A section that promises more than the file holds up to its end, read
                // whole with less: the file was cut inside it. Values of general settings
                // beyond what their PLC definition gives are a wrong count instead (rows
                // have no such measure: either may be).
                const std::string promise = (Singular(count.what) ? " promises " : " promise ") +
                                            std::to_string(promised) + (count.bytes ? " bytes" : " rows");
                if (!blocks && held < promised && trial.whole && trial.counts.back().at == count.at) {
                    if (count.fits >= 0 && promised > count.fits && trial.missing.empty())
                        return "its " + count.what + promise + ", more than the " + std::to_string(count.fits) +
                               " its PLC definition file gives, and the file ends after " + std::to_string(held) +
                               " of them (the count is wrong).";
                    return "it ends inside its " + count.what + ", which" + promise + " where the file holds " +
                           std::to_string(held) +
                           (count.bytes ? " (the file is cut short)." : " (the file is cut short, or that count is wrong).");
                }
                if (!trial.whole || !trial.missing.empty()) continue;
                valueLength = count.bytes;
                if (blocks)
                    return "its block count is " + std::to_string(promised) + ", but the file holds " +
                           std::to_string(held) + " block row" + (held == 1 ? "" : "s") +
                           " (the count is wrong, the file is whole).";
                return "its " + count.what + (Singular(count.what) ? " promises " : " promise ") +
                       std::to_string(promised) + (count.bytes ? " bytes" : " rows") +
                       ", but the file holds " + std::to_string(held) + " before the next section.";
            }
        }
    }
    return std::string();
}

// The feature sections of a file that reads whole with other feature keys than those of
// its PLC definition files now: the files were changed after the project was saved (a
// section taken away, added or moved to another port). Their difference, named; "" when
// no other keys read the file whole.
std::string ChangedDefinitions(const std::string& bytes, const FeatureSet& now) {
    static constexpr bool FeatureSet::*kFlags[] = {&FeatureSet::ethernet, &FeatureSet::tags,    &FeatureSet::recipes,
                                                   &FeatureSet::attach1,  &FeatureSet::attach2, &FeatureSet::entity1,
                                                   &FeatureSet::entity2};
    constexpr unsigned kCount = sizeof kFlags / sizeof kFlags[0];
    unsigned current = 0;
    for (unsigned i = 0; i < kCount; ++i)
        if (now.extended && now.*kFlags[i]) current |= 1u << i;
    // The fewest changes first.
    for (int changes = 1; changes <= int(kCount); ++changes) {
        for (unsigned mask = 0; mask < (1u << kCount); ++mask) {
            if (std::popcount(mask ^ current) != changes) continue;
            FeatureSet then;
            then.extended = true;
            for (unsigned i = 0; i < kCount; ++i) then.*kFlags[i] = (mask >> i) & 1u;
            const Reading trial = ReadAsWritten(bytes, then);
            if (!trial.whole || !trial.missing.empty()) continue;
            std::string held, declared;
            const std::vector<SectionSpec> names = Sections(then);
            for (unsigned i = 0; i < kCount; ++i) {
                const bool was = (mask >> i) & 1u, is = (current >> i) & 1u;
                std::string& list = was ? held : declared;
                if (was != is) list += (list.empty() ? "" : ", ") + std::string(names[i].name);
            }
            std::string text;
            if (!held.empty()) text = "the project holds its " + held + ", which the files no longer declare";
            if (!declared.empty())
                text += (text.empty() ? "" : ", and ") + std::string("the files now declare ") + declared +
                        ", which the project was saved without";
            return text;
        }
    }
    return std::string();
}

}  // namespace

namespace {

// Addresses of the rows are checked as typed ones are; one that fails is left out (the
// block check then asks for it). The numbers of the blocks that lost one, from 1.
std::vector<int> DropUnreadableAddresses(BlockRows& rows) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    std::vector<int> blocks;
    for (size_t i = 0; i < rows.size(); ++i) {
        bool dropped = false;
        for (const auto& [plcCol, addrCol] : {std::pair{kColSourcePlc, kColSourceAddr}, std::pair{kColDestPlc, kColDestAddr}}) {
            std::string& address = rows[i][addrCol];
            if (platform::Trim(address).empty()) continue;
            // Judged as it stands, as the block check and the image read it: blanks or tabs
            // around it are no part of it.
            const std::string& plc = rows[i][plcCol];
            const int port = plc == t.g_strPLC1Name ? 1 : plc == t.g_strPLC2Name ? 2 : 0;
            // A row without one of the two PLCs takes no address in the editor either.
            if (port != 0 && t.CheckBlockAddress(address, port, true) == CPlcRegisterTables::kAddressTaken) continue;
            address.clear();
            dropped = true;
        }
        if (dropped) blocks.push_back(static_cast<int>(i) + 1);
    }
    return blocks;
}

}  // namespace

bool CheckFeatureSections(const std::string& bytes, size_t offset, const FeatureSet& features, SectionsEnd* end) {
    SectionsEnd found;
    found.trailing = offset < bytes.size() ? bytes.size() - offset : 0;
    if (end) *end = found;
    if (!features.extended) return true;
    const HolderGuard keep;
    ClearFeatureTables(features);
    FieldReader r(bytes, offset);
    bool ok = true;
    for (const SectionSpec& section : Sections(features)) {
        if (!section.on) continue;
        if (r.Remaining() == 0 || !found.missing.empty()) {
            found.missing.push_back(section.name);
            continue;
        }
        if (!ReadOneSection(r, section.kind)) {
            found.broken = section.name;
            ok = false;
            break;
        }
    }
    if (ok) found.trailing = r.Remaining();
    if (end) *end = found;
    return ok;
}

std::string CheckNewerProjectFile(const std::string& bytes, const FeatureSet& features,
                                  std::vector<std::string>& missing, bool* definitionsChanged) {
    missing.clear();
    if (definitionsChanged) *definitionsChanged = false;
    const HolderGuard keep;
    const Reading first = ReadAsWritten(bytes, features);
    if (first.whole) {
        missing = first.missing;
        return std::string();
    }
    if (first.parse == ProjectParse::NotAProject) return "it is not a project file.";
    if (first.parse == ProjectParse::Corrupt && first.file.needed == 0)
        return "its block count of " + std::to_string(first.file.blockCount) + " is more than the " +
               std::to_string(kMaxBlocks) + " blocks a project holds.";
    const bool wholeBeforeTrailing = first.parse == ProjectParse::Ok && first.damage.empty() && first.trailing > 0;
    bool valueLength = false;
    const std::string count = FindWrongCount(bytes, features, first, valueLength);
    // Bytes after a whole project read as the values of its last general settings too:
    // both are said.
    if (!count.empty() && !(wholeBeforeTrailing && valueLength)) return count;
    if (first.parse == ProjectParse::Corrupt) return CutShortText(bytes.size(), first.file.needed);
    // Whole for the feature keys it was saved with: the definitions changed, not the file.
    // A file that ends inside a section standing where the definitions place it was cut,
    // whatever other keys would make of what is left.
    if (first.file.extendedSetup == 1 && !first.cutInSection)
        if (const std::string changed = ChangedDefinitions(bytes, features); !changed.empty()) {
            if (definitionsChanged) *definitionsChanged = true;
            return changed;
        }
    if (first.trailing > 0) {
        const std::string last = "its last " + std::to_string(first.trailing) + " bytes ";
        // Sections after a cleared extended-setup flag.
        if (first.file.extendedSetup != 1 && features.extended) {
            std::string patched = bytes;
            patched[kExtendedSetupOffset] = 1;
            const Reading trial = ReadAsWritten(patched, features);
            if (trial.whole && trial.missing.empty())
                return last + "are the feature sections of the project, but its extended-setup flag (byte " +
                       std::to_string(kExtendedSetupOffset) + ") says that it has none.";
        }
        if (!count.empty())
            return last + "follow the whole project: they belong to no part of it (they were added after its end), "
                          "or " + count;
        return last + "follow the whole project: they belong to no part of it (they were added after its end).";
    }
    return first.damage;
}

// ---------------------------------------------------------------------------------------

void UpdateCom2IsCan() {
    for (const std::string& id : g_arrCanDrivers) {
        if (id == g_PlcRegisterTables.g_strPlc2DriverId) {
            g_bCom2IsCAN = 1;
            return;
        }
        g_bCom2IsCAN = 0;
    }
}

void LoadNewerPlcPairState() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    g_nTransferMode = 0;
    LoadNewerPlcPairLayout();
    g_bUsesPlc141 = (t.g_strPLC1Id == "141" || t.g_strPLC2Id == "141") ? 1 : 0;
    g_bNewProject = 1;
    LoadExtendedSetupKeys();
}

void LoadNewerPlcPairLayout() {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    // Slave mode: one rule for new and reopened projects, so that the editor and the
    // compiler agree. The COM1 PLC is the slave when its file says so, else the COM2 PLC.
    const bool slave1 = deffiles::ReadSlaveKey(t.g_strPlc1Inf) == 1, slave2 = deffiles::ReadSlaveKey(t.g_strPlc2Inf) == 1;
    g_bSlaveMode = slave1 || slave2 ? 1 : 0;
    if (slave1)
        g_nBlockLayout = 1;
    else if (slave2)
        g_nBlockLayout = 2;
    // The internal-database derivation reads the same PLC files.
    LoadIdbSwitches();
    g_arrCanDrivers = deffiles::ReadCanDrivers(g_szProductNameCopy);
    UpdateCom2IsCan();
    g_bCom2Driver135 = t.g_strPlc2DriverId == "135" ? 1 : 0;
    g_bCanHtmlDownload = g_bCanRunKorvo = (t.g_strPLC2Id == "159" || t.g_strPLC2Id == "161") ? 1 : 0;
    if (g_nDeviceId == 94 || g_nDeviceId == 98) {
        g_bCanHtmlDownload = 1;
        g_bCanEthernetDownload = 1;
        g_bCanUploadMac = 1;
    }
}

ProjectOpenResult OpenNewerProject(const std::string& path, const ProjectOpenHooks& hooks,
                                   std::vector<int>& unreadable) {
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;
    unreadable.clear();
    auto finish = [] {
        g_bProjectModified = 0;
        g_bProductSelected = g_bProductSelected2 = 1;
    };
    auto refuse = [&](const std::string& text, unsigned flags = ui::MB_OK) {
        ui::MessageBox(text, "Quorvex", flags);
        finish();
        return ProjectOpenResult::NotOpened;
    };

    if (g_szProductName == "Zava Dorazuduvoz") g_nDeviceId = g_nDeviceIdAlt = 84;
    if (g_nDeviceId == 84) return ProjectOpenResult::ThreePort;

    std::string bytes;
    if (!ReadProjectFileShown(path, bytes)) {
        finish();
        return ProjectOpenResult::NotOpened;
    }
    NewerProjectFile file;
    const ProjectParse parse = ParseNewerProjectFile(bytes, file);
    if (parse == ProjectParse::NotAProject) return refuse(LoadString(IDS_NOT_FOR_QUORVEX));
    if (file.productNo == 84) {
        ui::MessageBox("You are trying to open a project that is created for Zava Dorazuduvoz.\nIf you want to open "
                       "this project, please go back to product selection screen and select Zava Dorazuduvoz product.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return ProjectOpenResult::NotOpened;
    }

    // Damage is named for what it is; the version message stays for a format number no
    // version writes. A file cut inside the fixed part both layouts share is damaged
    // whichever product it names.
    auto damaged = [&](const std::string& what) {
        ShowDamagedProject(path, what);
        finish();
        return ProjectOpenResult::NotOpened;
    };
    const int f = file.formatNumber;
    if (parse == ProjectParse::Corrupt && f <= 0 && bytes.size() > static_cast<size_t>(kFormatNumberOffset))
        return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH));
    if (bytes.size() < kBlockRowsOffset) return damaged(CutShortText(bytes.size(), kBlockRowsOffset));

    // The project's product: by its product number, or asked for when the file names none.
    std::string product = g_szProductName;
    unsigned deviceId = g_nDeviceId;
    FindProductByNumber(file.productNo, product, deviceId);
    if (file.productStar1 != '*' || file.productStar2 != '*') {
        if (!hooks.askProduct || !hooks.askProduct(product)) {
            finish();
            return ProjectOpenResult::NotOpened;
        }
    }
    // A product that keeps the older layout: its reader takes the file before anything of
    // this layout is checked.
    const int pv = deffiles::ReadDataProjectVersion(product);
    if (pv == 2) return ProjectOpenResult::OlderEditor;

    // Only a format number that no version writes is refused; a later one has this layout.
    if (f <= 0) return refuse(LoadString(IDS_PROJECT_VERSION_MISMATCH));

    // The PLC definition files the project names, their models and names.
    PlcIdentity plc;
    // A PLC file without the model section the project names gives no register table.
    auto hasModel = [](const std::string& section, const std::string& file) {
        return platform::GetPrivateProfileString(section, "RegisterCount", "\x01", 16, file) != "\x01";
    };
    if (!ReadPlcIdentity(product, file.settings, false, 256, plc) || !hasModel(plc.section1, plc.file1) ||
        !hasModel(plc.section2, plc.file2))
        return refuse(LoadString(IDS_PLC_FILE_ERROR));
    // The file must read as this program writes a project of that PLC pair.
    std::vector<std::string> missing;
    bool definitionsChanged = false;
    if (const std::string damage =
            CheckNewerProjectFile(bytes, ReadFeatureSet(plc.file1, plc.file2), missing, &definitionsChanged);
        !damage.empty()) {
        if (!definitionsChanged) return damaged(damage);
        // A sound file of PLC definition files that have changed since: they are named.
        auto name = [](const std::string& file) { return file.substr(file.find_last_of("\\/") + 1); };
        return refuse("The PLC definition files \"" + name(plc.file1) + "\" and \"" + name(plc.file2) +
                          "\" have changed since the project file \"" + path + "\" was saved: " + damage +
                          ". The project cannot be read with these files. It is not opened.",
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    }

    bool converted = false;
    if (pv > f)
        converted = ui::MessageBox(LoadString(IDS_CONVERT_ON_OPEN), "Quorvex", ui::MB_YESNO | ui::MB_ICONQUESTION) ==
                    ui::IDYES;
    // A file that ends before some of its feature sections lost them (a save that did not
    // finish, in earlier versions): it opens with their defaults, said so.
    if (!missing.empty()) {
        std::string names;
        for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
        ui::MessageBox("The project file \"" + path + "\" ends before its feature sections (" + names +
                           "): they are missing and open with their defaults. Check them before the project is "
                           "saved again.",
                       "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    }

    // The file is sound: from here on it becomes the open project, in place of all else.
    ResetOpenProject();
    g_bPrjFileLoaded = 1;
    g_strPrjFileLastIo = g_strPrjFile = path;
    g_szIdbFile1 = ProjectIdbPath(path, 1);
    g_szIdbFile2 = ProjectIdbPath(path, 2);
    size_t slash = path.find_last_of("\\/");
    g_szPrjFileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
    g_szProductName = g_szProductNameCopy = g_szProductPath = product;
    g_nDeviceId = g_nDeviceIdAlt = deviceId;
    g_bCom2IsCAN = deviceId == 83 ? 1 : 0;
    s.g_nProductNo = file.productNo;
    s.g_nProjectVersion = file.productVersion;
    // A product without a format number of its own keeps the file's for the next save.
    s.g_nProjFileVersion = IsReadableFormat(pv) ? pv : f;
    if (pv > f) {
        if (converted) {
            s.g_strProjModified = s.g_strProjCreated = ProjectTimeStamp();
            s.g_strProjTitle = s.g_strProjAuthor = s.g_strProjDescription = std::string(8, ' ');
        } else {
            s.g_nProjFileVersion = f;
        }
    }
    ApplyPlcIdentity(plc);

    g_bUntitled = 0;  // an opened project has its rows: no default row
    LoadNewerPlcPairState();

    LoadPlcRegisters(plc, true);

    const unsigned char* b = file.settings;
    s.g_anPortSettings[0][kPortBaud] = CodeToBaud(b[4], 0);
    s.g_anPortSettings[0][kPortDataBits] = CodeToDataBits(b[5]);
    s.g_anPortSettings[0][kPortStopBits] = b[6];
    s.g_anPortSettings[0][kPortParity] = b[7];
    s.g_anPortSettings[1][kPortBaud] = CodeToBaud(b[8], 1);
    s.g_anPortSettings[1][kPortDataBits] = CodeToDataBits(b[9]);
    s.g_anPortSettings[1][kPortStopBits] = b[10];
    s.g_anPortSettings[1][kPortParity] = b[11];
    ApplyControlRecord(b);
    ApplyAddressTexts(file.ctrlWordAddr, file.errBitAddr1, file.errBitAddr2, file.advSetting2);
    s.g_strCtrlWordShown = file.ctrlWordAddr;
    DistinguishPlcNames();
    s.g_nCtrlWordStation = file.ctrlWordStation;
    s.g_nCtrlWordWords = file.ctrlWordWords;
    s.g_nErrBit1 = file.errBit1;
    s.g_nErrBit2 = file.errBit2;
    g_bExtendedSetup = file.extendedSetup;

    BlockRows rows = file.rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i][kColBlockNo] = std::to_string(i + 1) + std::string(14, ' ');
        if (file.productVersion < 0) rows[i][kColControlBit] = std::to_string(i);  // an older file's rows
    }
    unreadable = DropUnreadableAddresses(rows);
    g_BlockListRows = std::move(rows);

    if (file.hasTexts) ApplyProjectTexts(file.texts);
    g_bNewProject = 0;

    if (g_bExtendedSetup == 1) {
        FieldReader r(bytes, file.sectionsOffset);
        if (g_bEthernetSetting == 1) ReadNodeTableSection(r);
        if (g_bTagTable == 1) ReadTagTableSection(r);
        ClearRecipeTables();
        ResetDefCommRegisters();
        ResetGeneralEntity();
        if (g_bRecipesCom1 == 1 || g_bRecipesCom2 == 1) {
            g_nRecipeState = 0;
            ReadRecipeSection(r);
        }
        if (g_bAttachRegCom1 == 1) {
            g_bDefCommRegFill = 0;
            ReadAttachRegSection(r, 1);
        } else {
            g_DefCommRegs.g_arrAttachRegWords1.assign(kMaxAttachRegRows, "1");
        }
        if (g_bAttachRegCom2 == 1) {
            g_bDefCommRegFill = 0;
            ReadAttachRegSection(r, 2);
        } else {
            g_DefCommRegs.g_arrAttachRegWords2.assign(kMaxAttachRegRows, "1");
        }
        if (g_bGeneralEntityCom1 == 1 || g_bGeneralEntityCom2 == 1) {
            g_bExtSetupError1 = g_bExtSetupError2 = 0;
            LoadGeneralEntityDefs();
            ReadGeneralEntitySections(r);
        }
    } else {
        g_DefCommRegs.g_arrAttachRegCode1.clear();
        g_DefCommRegs.g_arrAttachRegCode2.clear();
        g_DefCommRegs.g_arrAttachRegWords1.assign(kMaxAttachRegRows, "1");
        g_DefCommRegs.g_arrAttachRegWords2.assign(kMaxAttachRegRows, "1");
        LoadExtendedSetupKeys();
    }

    s.g_strProjPath = path;
    ReadPcComPort(product);
    g_bProjectSaved = 1;
    g_bUntitled = 0;
    g_bProjectOpen = 1;
    g_bNoBlockView = 0;
    t.SetBlockWordLimit(g_bSlaveMode == 1);
    g_bCom2IsCAN = std::find(g_arrCanDrivers.begin(), g_arrCanDrivers.end(), t.g_strPlc2DriverId) != g_arrCanDrivers.end();
    finish();
    return ProjectOpenResult::Opened;
}

void ReportUnreadableAddresses(const std::vector<int>& blocks) {
    if (blocks.empty()) return;
    std::string list;
    for (int block : blocks) list += (list.empty() ? "" : ", ") + std::to_string(block);
    ui::MessageBox("The project holds addresses that are not valid for their PLC. They were left out of block " + list +
                       "; please enter them again.",
                   "Quorvex", ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
