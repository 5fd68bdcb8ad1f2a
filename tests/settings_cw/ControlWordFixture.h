#pragma once
// PLC definition files for the control-word dialogs, loaded into the global register
// tables, and a headless backend that runs the dialogs.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "HeadlessUi.h"
#include "TestSupport.h"
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "editor/NewBlockExView.h"
#include "plc/OpenProjectReset.h"
#include "plc/PlcRegisterTables.h"
#include "res/SettingsResource.h"
#include "settings/ControlWordDlg.h"
#include "settings/ControlWordExDlg.h"

// The same register types on both sides. Coils come first in the tables, so the indices
// are: Y 0, M 1, then D 2, H 3, B 4, T 5, W 6, O 7, U 8, Z 9, N 10, F 11, I 12, TA 13, L 14, LL 15.
inline std::string ControlWordPlcFile(const std::string& name, int noOfByte) {
    std::string s = "[Plc Info]\r\nPlc Name=" + name + "\r\nPlc Code=150\r\nParameter=9600,8,N,1\r\n\r\n";
    s += "[Model]\r\nModelNo=1\r\nRegisterCount=16\r\nRegisterWidth=4\r\n";
    if (noOfByte > 0) s += "NoOfByte=" + std::to_string(noOfByte) + "\r\n";
    const char* records[] = {
        "Data Register,1,0,D,0000,9999,**,,**,",
        "Output Coil,0,0,Y,0000,1999,**,,**,",
        "Holding,1,0,H,0001,0100,**,,**,",
        "Byte Register,1,0,B,000,255,**,,**,",
        "Two Digit,1,0,T,00,99,**,,**,",
        "Hex Register,1,1,W,00,FF,**,,**,",
        "Octal Register,1,2,O,00,77,**,,**,",
        "Mixed,1,5,U,00,99,00,FF,00,99",
        "Odd Radix,1,3,Z,0000,0100,**,,**,",
        "File,1,0,N,000,255,000,255,**,",
        "Bit File,1,0,F,00,99,000,255,00,15",
        "Input Register,3,0,I,0000,9999,**,,**,",
        "Timer Acc,1,0,TA,000,255,A*,,**,",
        "Long,1,0,L,000000000,200000000,**,,**,",
        "Coil Bit,0,0,M,000,255,00,15,**,",
        "Longer,1,0,LL,000000000,200000000,**,,**,",  // 11 characters: more than the project holds
    };
    int n = 0;
    for (const char* r : records) s += "Register" + std::to_string(++n) + "=" + r + "\r\n";
    return s;
}

class ControlWordTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    testsupport::HeadlessUi ui;
    CPlcRegisterTables& t = g_PlcRegisterTables;
    CProjectSettings& s = g_ProjectSettings;

    void SetUp() override {
        ResetOpenProject();
        s = CProjectSettings();
        s.g_nCtrlWordStation = 1;
        s.g_nCtrlWordWords = 1;
        g_bProjectModified = 0;
        g_bBlockListEdited = 0;
        g_bCtrlWordDlgOK = 0;
        g_bCtrlWordConfirmed = 0;
        g_szHelpTopic.clear();
        Load(3, 3);
    }
    void TearDown() override { ResetOpenProject(); }

    // Both PLC files with these address forms (0: no NoOfByte key).
    void Load(int form1, int form2, const std::string& com2 = std::string()) {
        t.ResetProject();
        t.g_strPlc1Inf = dir.Write("Plc/15000_004.inf", ControlWordPlcFile("Alpha Link", form1));
        t.g_strPlc1Section = "Model";
        t.g_strPlc2Inf = dir.Write("Plc/15100_004.inf", com2.empty() ? ControlWordPlcFile("Beta Bus", form2) : com2);
        t.g_strPlc2Section = "Model";
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
    }

    // Runs the dialog in the mode with the step; returns its result.
    template <class Dlg>
    int Run(int mode, const std::function<void(Dlg&)>& step) {
        Dlg dlg;
        dlg.m_nMode = mode;
        ui.ExpectModal(dlg.GetTemplateId(), [&](ui::Dialog& d) { step(static_cast<Dlg&>(d)); });
        return dlg.DoModal();
    }
    int RunEx(int mode, const std::function<void(CControlWordExDlg&)>& step) { return Run<CControlWordExDlg>(mode, step); }
    int RunOld(int mode, const std::function<void(CControlWordDlg&)>& step) { return Run<CControlWordDlg>(mode, step); }

    static std::string Text(ui::Dialog& d, int id) { return d.GetDlgItemText(id); }
    static bool Shown(ui::Dialog& d, int id) { return d.Item(id).IsWindowVisible(); }
    static ui::ListControl& List(ui::Dialog& d, int id) { return d.Item<ui::ListControl>(id); }
    static std::string Selected(ui::Dialog& d, int id) {
        return List(d, id).GetLBText(List(d, id).GetCurSel());
    }
    static void Select(ui::Dialog& d, int list, const std::string& name) {
        const int at = List(d, list).FindStringExact(-1, name);
        ASSERT_GE(at, 0) << name;
        ASSERT_TRUE(List(d, list).UserSelect(at)) << name;
    }
    static void Type(ui::Dialog& d, int id, const std::string& text) { ASSERT_TRUE(d.Item(id).UserType(text)) << id; }
    // Leaves the field: the focus goes to the panel's register list.
    static void Leave(ui::Dialog& d, int list) { d.Item(list).UserFocus(); }
    static void Click(ui::Dialog& d, int id) { ASSERT_TRUE(d.UserClickButton(id)) << id; }
    static void Cancel(ui::Dialog& d) { Click(d, ui::IDOK); }  // the "&Cancel" button is command 1
};
