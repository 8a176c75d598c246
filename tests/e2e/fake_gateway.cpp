// fake_gateway natpmp|upnp PORT SECONDS LOG [silent]: a test gateway on
// 127.0.0.1:PORT for SECONDS, logging each request to LOG as it comes; with
// "silent" it logs and never answers. Exits 0, or 2 when the port cannot be
// bound.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/fake_gateways.h"

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "";
    if ((argc != 5 && argc != 6) || (kind != "natpmp" && kind != "upnp") ||
        (argc == 6 && std::string(argv[5]) != "silent")) {
        std::fprintf(stderr, "usage: fake_gateway natpmp|upnp PORT SECONDS LOG [silent]\n");
        return 2;
    }
    FakeGatewayOptions options;
    options.kind = kind == "natpmp" ? FakeGatewayKind::NatPmp : FakeGatewayKind::Upnp;
    options.port = static_cast<std::uint16_t>(std::atoi(argv[2]));
    options.logFile = argv[4];
    options.silent = argc == 6;
    FakeGateway gateway(options);
    if (!gateway.Ok()) {
        std::fprintf(stderr, "fake_gateway: cannot bind 127.0.0.1:%s\n", argv[2]);
        return 2;
    }
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[3])));
    return 0;
}
