// The general-entity dialog's reset and its command routing.
#include <gtest/gtest.h>

#include "model/ExtendedTables.h"
#include "tables/GeneralEntityDlg.h"
#include "ui/Window.h"

namespace {

struct CommandSink : ui::Window {
    std::vector<int> commands;
    bool OnCommand(int id) override {
        commands.push_back(id);
        return true;
    }
};

TEST(GeneralEntityDlg, ResetEmptiesBothPortsAndOtherCommandsGoToTheParent) {
    CGeneralEntityTables& g = g_GeneralEntity;
    g.g_nGeneralEntityCode1 = 6;
    g.g_nGeneralEntityCount2 = 3;
    g.g_nExtSetupLen1 = 12;
    g.g_abExtSetup2[199] = 9;
    g.g_arrGeneralEntityCom1[0] = {"Baud"};
    g.g_arrGeneralEntityCom2[8] = {"0"};
    CGeneralEntityDlg::ResetGeneralEntity();
    EXPECT_EQ(g.g_nGeneralEntityCode1, 0);
    EXPECT_EQ(g.g_nGeneralEntityCount2, 0);
    EXPECT_EQ(g.g_nExtSetupLen1, 0);
    EXPECT_EQ(g.g_abExtSetup2[199], 0);
    for (int f = 0; f < kGeneralEntityFields; ++f) {
        EXPECT_TRUE(g.g_arrGeneralEntityCom1[f].empty());
        EXPECT_TRUE(g.g_arrGeneralEntityCom2[f].empty());
    }

    CommandSink parent;
    CGeneralEntityDlg dlg(&parent);
    EXPECT_EQ(dlg.GetTemplateId(), 375);
    EXPECT_EQ(dlg.Template().caption, "General Entity");
    dlg.OnCommand(32870);
    dlg.OnCommand(0);
    EXPECT_EQ(parent.commands, (std::vector<int>{32870}));
    EXPECT_TRUE(dlg.OnCommand(ui::IDCANCEL));
    EXPECT_EQ(dlg.GetResult(), ui::IDCANCEL);
    EXPECT_TRUE(parent.commands.size() == 1);
}

}  // namespace
