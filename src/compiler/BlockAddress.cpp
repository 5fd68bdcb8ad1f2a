#include "compiler/BlockAddress.h"

#include "plc/PlcRegisterTables.h"
#include "platform/Text.h"

int HasUnderscore(std::string text) { return text.find('_') != std::string::npos ? 1 : 0; }

int SplitAtUnderscore(std::string text) {
    size_t underscore = text.find('_');
    if (underscore == std::string::npos) return 0;
    int bit = platform::Atoi(text.substr(underscore + 1));
    return bit >= 0 && bit <= 15 ? bit : 0;
}

std::string AddressPrefixPart(std::string text) {
    size_t underscore = text.find('_');
    return underscore == std::string::npos ? text : text.substr(0, underscore);
}

std::string AddressNumberText(int bit, std::string countText) {
    long long n = static_cast<long long>(platform::Atoi(countText)) + bit;
    long long words = n / 16 + (n % 16 != 0 ? 1 : 0);
    return std::to_string(words);
}

int IsTimerCounterRegister(std::string address, int port) {
    const CPlcRegisterTables& t = g_PlcRegisterTables;
    int r = t.FindRegisterByPrefix(address, port);
    if (r < 0) return 0;
    const std::string& prefix = (port == 1 ? t.g_arrPlc1RegPrefix : t.g_arrPlc2RegPrefix)[r];
    return prefix == "T" || prefix == "C" || prefix == "HC" ? 1 : 0;
}
