#include "shell/router_mapping.h"

#include <sstream>

#include "platform/dump_text.h"
#include "shell/automation_run.h"
#include "shell/shell_state.h"

namespace {

std::vector<PortMapper> installedMappers;
PortMappingRun run;
// The port of the created game; 0 before one is created.
std::uint16_t hostedPort = 0;
// How long the creation of the game took, from the click (-1 before).
std::int64_t createMs = -1;

} // namespace

void InstallPortMappers(std::vector<PortMapper> mappers) {
    installedMappers = std::move(mappers);
}

bool InitialPortMappingChoice() {
    const GameOptions& options = CurrentAutomation();
    if (options.net.portMapping) return *options.net.portMapping;
    // Tests and scripted runs never reach out to a real router unless asked.
    return !options.headless && shellState.PortMapping.value_or(true);
}

void StartRouterMapping(std::uint16_t port, bool chosen,
                        std::chrono::steady_clock::time_point clickedAt) {
    EndPortMapping(run);
    hostedPort = port;
    if (chosen && port != 0) StartPortMapping(run, installedMappers, port);
    run.port = port;
    createMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - clickedAt)
                   .count();
}

bool PollRouterMapping() {
    return PollPortMapping(run);
}

void EndRouterMapping() {
    EndPortMapping(run);
    run.port = 0;
    hostedPort = 0;
    createMs = -1;
}

std::string RouterMappingLine() {
    return hostedPort ? PortMappingLine(run) : "";
}

std::string DescribeRouterMapping() {
    std::ostringstream out;
    out << "net.portMapping=" << PortMappingStatusName(run.status) << '\n';
    out << "net.portMapping.port=" << hostedPort << '\n';
    out << "net.portMapping.method=" << EscapeDumpText(run.result.method) << '\n';
    out << "net.portMapping.failure=" << EscapeDumpText(run.result.failure) << '\n';
    out << "net.portMapping.answerMs=" << run.answerMs << '\n';
    out << "net.createMs=" << createMs << '\n';
    std::string address;
    if (run.status == PortMappingStatus::Mapped && !run.result.publicAddress.empty())
        address = run.result.publicAddress + ":" + std::to_string(run.result.publicPort);
    out << "net.publicAddress=" << EscapeDumpText(address) << '\n';
    out << "net.portMapping.line=" << EscapeDumpText(RouterMappingLine()) << '\n';
    return out.str();
}
