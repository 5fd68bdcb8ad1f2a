// unitsim: a simulated unit on a pseudo-terminal, for trying the tool by hand.
//
//   unitsim [--product CODE] [--older | --newer] [--link PATH] [--pace] [--baud N] [--silent]
//           [--wrong-handshakes K] [--refuse-block K] [--end-answer BYTE]
//           [--confirm-answer BYTE] [--drop-after N] [--firmware TEXT]
//           [--no-project] [--wrong-check-at K] [--stop-after-block K]
//           [--omit-setup-closing-byte] [--omit-closing-byte] [--drivers P1,M1,P2,M2]
//           [--tcp PORT]
//
// A project downloaded to it is kept and served back on upload (for the length of the run).
// By default it reports the newest sample firmware (V03.40) and the drivers of the
// README's project (Modbus RTU Master "Standard" on COM1, DF1 Full Duplex "Series 5" on
// COM2; for the three-port product 84 its Modbus RTU Multiplexer on both masters), so that
// project goes down without questions; --firmware and --drivers give the other cases. --tcp also starts the Ethernet side on 127.0.0.1:PORT (0: any port).
// The products of the older generation (81, 84, 85) speak the older protocol variant;
// --older or --newer chooses the variant for any product code.
//
// Prints the slave device's path (point QUORVEX_COMn at it, or use --link), answers
// until interrupted, then prints what it received: files, records, streams, web pages,
// and the MAC address it holds (the one set last through MAC Address Settings).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "TcpUnit.h"
#include "UnitSimulator.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

int Number(const char* text) { return static_cast<int>(std::strtol(text, nullptr, 0)); }

void Usage() {
    std::fprintf(stderr,
                 "usage: unitsim [--product CODE] [--older | --newer] [--link PATH] [--pace] [--baud N]\n"
                 "               [--silent]\n"
                 "               [--wrong-handshakes K] [--refuse-block K] [--end-answer BYTE]\n"
                 "               [--confirm-answer BYTE] [--drop-after N] [--firmware TEXT]\n"
                 "               [--no-project] [--wrong-check-at K] [--stop-after-block K]\n"
                 "               [--omit-setup-closing-byte] [--omit-closing-byte]\n"
                 "               [--drivers P1,M1,P2,M2] [--tcp PORT]\n");
}
}  // namespace

int main(int argc, char** argv) {
    unitsim::Behaviour b;
    // The sample tree's newest firmware; the drivers of the product's README project
    // unless --drivers names others.
    b.firmwareVersion = "V03.40";
    bool driversGiven = false;
    std::string link;
    int tcpPort = -1;
    int older = -1;  // by the product code
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--product") b.productCode = static_cast<uint8_t>(Number(value()));
        else if (a == "--older") older = 1;
        else if (a == "--newer") older = 0;
        else if (a == "--link") link = value();
        else if (a == "--pace") b.pace = true;
        else if (a == "--baud") b.baud = Number(value());
        else if (a == "--silent") b.silent = true;
        else if (a == "--wrong-handshakes") b.wrongHandshakes = Number(value());
        else if (a == "--refuse-block") b.refuseBlock = Number(value());
        else if (a == "--end-answer") b.endAnswer = static_cast<uint8_t>(Number(value()));
        else if (a == "--confirm-answer") b.confirmAnswer = static_cast<uint8_t>(Number(value()));
        else if (a == "--drop-after") b.dropAfterBytes = Number(value());
        else if (a == "--firmware") b.firmwareVersion = value();
        else if (a == "--no-project") b.noProject = true;
        else if (a == "--wrong-check-at") b.wrongCheckAtBlock = Number(value());
        else if (a == "--stop-after-block") b.stopAfterBlock = Number(value());
        else if (a == "--omit-setup-closing-byte") b.omitSetupClosingByte = true;
        else if (a == "--omit-closing-byte") b.omitImageClosingByte = true;
        else if (a == "--drivers") {
            // PLC number and model of COM1, then of COM2, as the unit reports its drivers.
            driversGiven = true;
            std::string list = value();
            b.driverReport.assign(5, 0);
            for (size_t i = 0; i < 4 && !list.empty(); ++i) {
                const size_t comma = list.find(',');
                b.driverReport[i] = static_cast<uint8_t>(Number(list.substr(0, comma).c_str()));
                list = comma == std::string::npos ? std::string() : list.substr(comma + 1);
            }
        } else if (a == "--tcp") tcpPort = Number(value());
        else {
            Usage();
            return 2;
        }
    }

    if (!driversGiven) b.driverReport = unitsim::UnitSimulator::DefaultDriverReport(b.productCode);
    b.older = older == -1 ? unitsim::UnitSimulator::IsOlderProductCode(b.productCode) : older == 1;
    unitsim::UnitSimulator sim(b);
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "unitsim: %s\n", error.c_str());
        return 1;
    }
    if (!link.empty() && !sim.LinkAs(link)) {
        std::fprintf(stderr, "unitsim: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", link.empty() ? sim.SlavePath().c_str() : link.c_str());
    unitsim::TcpBehaviour tb;
    tb.listenPort = static_cast<uint16_t>(tcpPort > 0 ? tcpPort : 0);
    unitsim::TcpUnit tcp(tb);
    if (tcpPort >= 0) {
        if (!tcp.Start(&error)) {
            std::fprintf(stderr, "unitsim: %s\n", error.c_str());
            return 1;
        }
        std::printf("Ethernet unit on 127.0.0.1 port %u\n", unsigned(tcp.Port()));
    }
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    sim.Stop();
    tcp.Stop();
    for (const auto& f : tcp.Files())
        std::printf("file over TCP: %zu bytes%s\n", f.data.size(), f.completed ? "" : ", not ended");

    std::fputs(sim.Report().c_str(), stdout);
    return 0;
}
