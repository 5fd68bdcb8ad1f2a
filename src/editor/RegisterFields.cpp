#include "editor/RegisterFields.h"

#include "plc/PlcRegisterTables.h"

std::string RegisterTypeField(int port, int r, int field) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool one = port == 1;
    const StringArray* table = nullptr;
    switch (field) {
        case 1: table = one ? &t.g_arrPlc1RegName : &t.g_arrPlc2RegName; break;
        case 2: table = one ? &t.g_arrPlc1RegKind : &t.g_arrPlc2RegKind; break;
        case 3: table = one ? &t.g_arrPlc1RegRadix : &t.g_arrPlc2RegRadix; break;
        case 4: table = one ? &t.g_arrPlc1RegPrefix : &t.g_arrPlc2RegPrefix; break;
        case 5: table = one ? &t.g_arrPlc1RegMin : &t.g_arrPlc2RegMin; break;
        case 6: table = one ? &t.g_arrPlc1RegMax : &t.g_arrPlc2RegMax; break;
        case 7: table = one ? &t.g_arrPlc1RegColonMin : &t.g_arrPlc2RegColonMin; break;
        case 8: table = one ? &t.g_arrPlc1RegColonMax : &t.g_arrPlc2RegColonMax; break;
        case 9: table = one ? &t.g_arrPlc1RegSlashMin : &t.g_arrPlc2RegSlashMin; break;
        case 10: table = one ? &t.g_arrPlc1RegSlashMax : &t.g_arrPlc2RegSlashMax; break;
        default: return std::string();
    }
    return r >= 0 && size_t(r) < table->size() ? (*table)[size_t(r)] : std::string();
}

std::string RegisterRangeText(int port, int r) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return port == 1 ? t.GetRegisterRangeTextCom1(r) : t.GetRegisterRangeTextCom2(r);
}

std::string ComposeRegisterAddress(int port, int r, const std::string& number, const std::string& colon,
                                   const std::string& slash) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    return RegisterTypeField(port, r, 4) +
           (port == 1 ? t.FormatAddressCom1(number, colon, slash, r) : t.FormatAddressCom2(number, colon, slash, r));
}

std::string RegisterAddressPart(int port, int r, const std::string& address, int part) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    const bool one = port == 1;
    switch (part) {
        case 0: return one ? t.GetAddressNumberPartCom1(address, r) : t.GetAddressNumberPartCom2(address, r);
        case 1: return one ? t.GetAddressColonPartCom1(address, r) : t.GetAddressColonPartCom2(address, r);
        default: return one ? t.GetAddressSlashPartCom1(address, r) : t.GetAddressSlashPartCom2(address, r);
    }
}

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
