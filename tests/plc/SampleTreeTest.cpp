// Every PLC definition file of the sample tree loads on both ports, and the lowest address
// of every register type is found, validated, keyed and formatted back consistently.
#include "model/ProjectSettings.h"
#include "plc/DefinitionFiles.h"
#include "plc/PlcRegisterTables.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace {

// The lowest address of register i as the engineer would type it.
std::string LowestAddress(const CPlcRegisterTables& t, int port, int i) {
    const StringArray& prefix = port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
    const StringArray& kind = port == 1 ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind;
    const StringArray& min = port == 1 ? t.g_arrPlc1RegMin : t.g_arrPlc2RegMin;
    const StringArray& cmin = port == 1 ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin;
    const StringArray& smin = port == 1 ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin;
    std::string text = prefix[i] + min[i];
    if (!CPlcRegisterTables::IsMarker(cmin[i])) {
        int k = platform::Atoi(kind[i]);
        text += (CPlcRegisterTables::IsMarker(smin[i]) && (k == 0 || k == 2) ? "/" : ":") + cmin[i];
    }
    if (!CPlcRegisterTables::IsMarker(smin[i])) text += "/" + smin[i];
    return text;
}

TEST(SampleTree, EveryPlcFileLoadsAndItsAddressesRoundTrip) {
    testsupport::SampleTree tree;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    const int products = deffiles::ReadProductCount();
    ASSERT_GE(products, 5);
    std::set<std::string> kindsSeen, radixSeen, markersSeen;
    int filesLoaded = 0;
    for (int n = 1; n <= products; ++n) {
        const std::string product = deffiles::ReadProductName(n);
        ASSERT_TRUE(platform::DirectoryExists(deffiles::ProductFolder(product))) << product;
        for (int port = 1; port <= 2; ++port) {
            for (const auto& entry : deffiles::ReadProtocols(product, port)) {
                const std::string file = deffiles::PlcDefinitionFile(product, entry.plcNo);
                ASSERT_TRUE(platform::FileExists(file)) << product << " " << entry.name;
                const int models = deffiles::ReadInt(file, "Plc Info", "Plc Model count");
                ASSERT_GE(models, 1) << file;
                for (int m = 1; m <= models; ++m) {
                    SCOPED_TRACE(file + " model " + std::to_string(m));
                    const std::string section = deffiles::ReadText(file, "Plc Info", deffiles::NumberedKey("Plc", m), "");
                    t.ResetProject();
                    t.g_strPlc1Inf = t.g_strPlc2Inf = file;
                    t.g_strPlc1Section = t.g_strPlc2Section = section;
                    t.LoadPlcFileCom1();
                    t.LoadPlcFileCom2();
                    ++filesLoaded;
                    ASSERT_GT(t.RegisterCount(1), 0);
                    ASSERT_EQ(t.RegisterCount(1), t.RegisterCount(2));
                    EXPECT_NE(t.g_strPLC1Name, "Corrupt PLC file");
                    EXPECT_GT(t.g_nPlc1NoOfWord, 0);
                    for (int p = 1; p <= 2; ++p) {
                        for (int i = 0; i < t.RegisterCount(p); ++i) {
                            const std::string text = LowestAddress(t, p, i);
                            SCOPED_TRACE(text);
                            const int found = t.FindRegisterByPrefix(text, p);
                            ASSERT_GE(found, 0);
                            const StringArray& prefix = p == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix;
                            EXPECT_EQ(prefix[found], prefix[i]);
                            EXPECT_EQ(p == 1 ? t.ValidateAddressCom1(text, found)
                                             : t.ValidateAddressCom2(text, found), 0);
                            const std::string key = p == 1 ? t.ParseAddressCom1(text) : t.ParseAddressCom2(text);
                            EXPECT_GE(key.size(), 9u);  // longer only where the widths add up past 9
                            // The register the key names is found again from the key.
                            EXPECT_GE(t.GetRegisterIndexForPort(key, t.IsCoilAddress(text, p), p), 0);
                            kindsSeen.insert((p == 1 ? t.g_arrPlc1RegKind : t.g_arrPlc2RegKind)[i]);
                            radixSeen.insert((p == 1 ? t.g_arrPlc1RegRadix : t.g_arrPlc2RegRadix)[i]);
                            markersSeen.insert((p == 1 ? t.g_arrPlc1RegColonMin : t.g_arrPlc2RegColonMin)[i]);
                            markersSeen.insert((p == 1 ? t.g_arrPlc1RegSlashMin : t.g_arrPlc2RegSlashMin)[i]);
                        }
                    }
                }
            }
        }
    }
    t.ResetProject();
    EXPECT_GT(filesLoaded, 10);
    // The tree shows every register kind, number system and marker the system knows.
    for (const char* k : {"0", "1", "2", "3", "4"}) EXPECT_TRUE(kindsSeen.count(k)) << "kind " << k;
    for (const char* r : {"0", "1", "2", "5"}) EXPECT_TRUE(radixSeen.count(r)) << "radix " << r;
    for (const char* m : {"**", "A*", "P*"}) EXPECT_TRUE(markersSeen.count(m)) << "marker " << m;
}

TEST(SampleTree, CoversEveryProductKind) {
    testsupport::SampleTree tree;
    std::set<unsigned> ids;
    bool older = false, newer = false, can = false;
    for (int n = 1; n <= deffiles::ReadProductCount(); ++n) {
        const std::string product = deffiles::ReadProductName(n);
        ids.insert(static_cast<unsigned>(platform::Atoi(deffiles::ReadProductValue("DeviceID", n))));
        (deffiles::IsNewGeneration(product) ? newer : older) = true;
        for (const auto& e : deffiles::ReadProtocols(product, 2))
            if (deffiles::IsCanDriver(product, e.plcNo)) can = true;
    }
    EXPECT_TRUE(older);
    EXPECT_TRUE(newer);
    EXPECT_TRUE(can);
    for (unsigned id : {84u, 94u}) EXPECT_TRUE(ids.count(id)) << id;
}

}  // namespace
