#pragma once
// PLC definition files written for the tests, loaded into the global register tables.
#include "model/ProjectSettings.h"
#include "model/RunTimeState.h"
#include "plc/PlcRegisterTables.h"
#include "plc/OpenProjectReset.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

// COM1: register kinds in file order 1, 0, 3, 2 (and a kind 5 and a missing record),
// prefixes N / NB / NB, D twice with different ranges, ':' and '/' parts, markers.
inline const char* kCom1File =
    "[Plc Info]\r\n"
    "Plc Name=Alpha Link\r\n"
    "Plc Code=131\r\n"
    "Plc Model count=1\r\n"
    "Plc1=Alpha 100\r\n"
    "Parameter=19200,7,E,2\r\n"
    "SpecialData=2\r\n"
    "Sp1=Retries,0,9,3,11\r\n"
    "Sp2=Delay,1,100,10,12\r\n"
    "NoOfWord=64\r\n"
    "[Alpha 100]\r\n"
    "ModelNo=A100\r\n"
    "RegisterCount=12\r\n"
    "RegisterWidth=4\r\n"
    "NoOfByte=2\r\n"
    "Register1=Integer,1,0,N,000,999,**,,**,\r\n"
    "Register2=Bit,0,0, B,000,255,00,15,**,\r\n"
    "Register3=Input,3,0,NB,0,99,**,,**,\r\n"
    "Register4=Status,2,0,S,00,63,00,15,**,\r\n"
    "Register5=Ignored,5,0,Q,0,1,**,,**,\r\n"
    "Register6=Block,4,0,NB,100,199,**,,**,\r\n"
    "Register7=Data Low,1,0,D,0,99,**,,**,\r\n"
    "Register8=Data High,1,0,D,100,199,**,,**,\r\n"
    "Register9=File,1,0,F,00,99,000,255,00,15\r\n"
    "Register10=Timer,1,0,T,000,255,A*,,**,\r\n"
    "Register11=Hex,1,1,H,000,FFF,**,,**,\r\n"
    "Register12=Octal,1,2,O,000,777,**,,**,\r\n";
// Register13 is absent: RegisterCount says 12 so it is not read.

// COM2: a coil type and a register type sharing the prefix X, a code-5 type, a counter
// with "P*", RegisterWidth 2 (no range checks).
inline const char* kCom2File =
    "[Plc Info]\r\n"
    "Plc Name=Beta Bus\r\n"
    "Plc Code=135\r\n"
    "Parameter=9600,8,None,1\r\n"
    "NoOfWord=32\r\n"
    "[Beta]\r\n"
    "ModelNo=B1\r\n"
    "RegisterCount=6\r\n"
    "RegisterWidth=2\r\n"
    "Register1=Word X,1,0,X,0,50,**,,**,\r\n"
    "Register2=Bit X,0,0,X,0,50,0,7,**,\r\n"
    "Register3=Code Five,1,5,W,0000,9999,00,FF,**,\r\n"
    "Register4=Counter,3,0,C,00,99,P*,,**,\r\n"
    "Register5=Long,1,0,L,0,10,**,,**,\r\n"
    "Register7=Never read,1,0,Z,0,1,**,,**,\r\n";
// Register6 is missing: it loads as a coil named "Corrupt PLC file" with no prefix.

class PlcTablesTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    CPlcRegisterTables& t = g_PlcRegisterTables;

    void SetUp() override {
        ResetOpenProject();
        g_ProjectSettings = CProjectSettings();
        g_nDeviceIdAlt = 81;
        g_bCom2IsCAN = 0;
        Load(kCom1File, "Alpha 100", kCom2File, "Beta");
    }
    void TearDown() override {
        ResetOpenProject();
        g_bCom2IsCAN = 0;
    }
    void Load(const char* com1, const char* section1, const char* com2, const char* section2) {
        t.ResetProject();
        t.g_strPlc1Inf = dir.Write("Plc/13100_004.inf", com1);
        t.g_strPlc1Section = section1;
        t.g_strPlc2Inf = dir.Write("Plc/13500_004.inf", com2);
        t.g_strPlc2Section = section2;
        t.LoadPlcFileCom1();
        t.LoadPlcFileCom2();
    }
    int Index(int port, const std::string& name) const {
        const StringArray& names = port == 1 ? t.g_arrPlc1RegName : t.g_arrPlc2RegName;
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -2;
    }
};
