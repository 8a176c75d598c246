#include "support/fake_gateways.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr const char* kService = "urn:schemas-upnp-org:service:WANIPConnection:1";
constexpr const char* kControlPath = "/ctl/IPConn";

std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v >> 16);
    put16(p + 2, v);
}

// The text between <name> and </name> in `body`, empty when missing.
std::string element(const std::string& body, const std::string& name) {
    const std::size_t open = body.find("<" + name + ">");
    if (open == std::string::npos) return {};
    const std::size_t from = open + name.size() + 2;
    const std::size_t close = body.find("</" + name + ">", from);
    return close == std::string::npos ? std::string() : body.substr(from, close - from);
}

std::string deviceDescription() {
    return std::string("<?xml version=\"1.0\"?>\r\n"
                       "<root xmlns=\"urn:schemas-upnp-org:device-1-0\">"
                       "<specVersion><major>1</major><minor>0</minor></specVersion>"
                       "<device><deviceType>urn:schemas-upnp-org:device:"
                       "InternetGatewayDevice:1</deviceType><friendlyName>Test gateway"
                       "</friendlyName><deviceList><device><deviceType>urn:schemas-upnp-org:"
                       "device:WANDevice:1</deviceType><deviceList><device><deviceType>"
                       "urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>"
                       "<serviceList><service><serviceType>") +
           kService +
           "</serviceType><serviceId>urn:upnp-org:serviceId:WANIPConn1</serviceId>"
           "<controlURL>" +
           kControlPath +
           "</controlURL><eventSubURL>/evt/IPConn</eventSubURL><SCPDURL>/WANIPCn.xml"
           "</SCPDURL></service></serviceList></device></deviceList></device></deviceList>"
           "</device></root>\r\n";
}

std::string soapAnswer(const std::string& action, const std::string& inner) {
    return "<?xml version=\"1.0\"?>\r\n<s:Envelope "
           "xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:" +
           action + "Response xmlns:u=\"" + kService + "\">" + inner + "</u:" + action +
           "Response></s:Body></s:Envelope>\r\n";
}

std::string soapFault(int code) {
    return "<?xml version=\"1.0\"?>\r\n<s:Envelope "
           "xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
           "<faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>"
           "<UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>" +
           std::to_string(code) +
           "</errorCode><errorDescription>refused</errorDescription></UPnPError></detail>"
           "</s:Fault></s:Body></s:Envelope>\r\n";
}

void sendAll(int connection, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(connection, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

void answerHttp(int connection, int status, const std::string& type, const std::string& body) {
    sendAll(connection, "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
                            "\r\nContent-Type: " + type + "\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

} // namespace

FakeGateway::FakeGateway(const FakeGatewayOptions& options) : options_(options) {
    const bool udp = options.kind == FakeGatewayKind::NatPmp;
    socket_ = socket(AF_INET, udp ? SOCK_DGRAM : SOCK_STREAM, 0);
    if (socket_ < 0) return;
    const int yes = 1;
    setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(options.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (!udp && listen(socket_, 8) != 0) ||
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(socket_);
        socket_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
    if (!options_.logFile.empty()) std::ofstream(options_.logFile, std::ios::trunc);
    thread_ = std::thread([this] { run(); });
}

FakeGateway::~FakeGateway() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (socket_ >= 0) close(socket_);
}

std::string FakeGateway::DescriptionUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/rootDesc.xml";
}

std::vector<std::string> FakeGateway::Log() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return log_;
}

void FakeGateway::note(const std::string& line) {
    const std::lock_guard<std::mutex> hold(lock_);
    log_.push_back(line);
    if (!options_.logFile.empty()) std::ofstream(options_.logFile, std::ios::app) << line << '\n';
}

void FakeGateway::run() {
    while (!stop_) {
        pollfd waiting{socket_, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) continue;
        if (options_.kind == FakeGatewayKind::NatPmp) {
            natPmpRequest();
        } else if (const int connection = accept(socket_, nullptr, nullptr); connection >= 0) {
            httpConnection(connection);
            close(connection);
        }
    }
}

void FakeGateway::natPmpRequest() {
    std::array<std::uint8_t, 64> in{};
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t n =
        recvfrom(socket_, in.data(), in.size(), 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (n < 2 || in[0] != 0) {
        note("bad request of " + std::to_string(n) + " bytes");
        return;
    }
    const std::uint8_t op = in[1];
    std::array<std::uint8_t, 16> out{};
    out[1] = static_cast<std::uint8_t>(128 + op);
    put32(&out[4], 1234); // seconds since the gateway started
    std::size_t size = 0;
    if (op == 0 && n == 2) {
        note(options_.silent ? "ignored public-address" : "public-address");
        in_addr address{};
        inet_pton(AF_INET, kFakePublicAddress, &address);
        std::memcpy(&out[8], &address, 4);
        size = 12;
    } else if ((op == 1 || op == 2) && n == 12) {
        const std::uint16_t inside = get16(&in[4]);
        const std::uint16_t outside = get16(&in[6]);
        const std::uint32_t lifetime = get32(&in[8]);
        const std::string protocol = op == 1 ? "udp" : "tcp";
        const std::uint16_t given =
            lifetime == 0 ? 0 : (options_.publicPort ? options_.publicPort : outside);
        note(std::string(options_.silent ? "ignored " : "") +
             (lifetime == 0 ? "unmap " + protocol + " " + std::to_string(inside)
                            : "map " + protocol + " " + std::to_string(inside) + "->" +
                                  std::to_string(given) + " lifetime " + std::to_string(lifetime)));
        put16(&out[8], inside);
        put16(&out[10], given);
        put32(&out[12], lifetime);
        size = 16;
    } else {
        note("unsupported op " + std::to_string(op));
        put16(&out[2], 5); // unsupported opcode
        size = 4;
    }
    if (!options_.silent)
        sendto(socket_, out.data(), size, 0, reinterpret_cast<sockaddr*>(&from), length);
}

void FakeGateway::httpConnection(int connection) {
    std::string request;
    std::size_t headerEnd = std::string::npos;
    std::size_t wanted = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    // The headers, then as much body as Content-Length says (at most 64 KiB).
    while (std::chrono::steady_clock::now() < deadline && request.size() < 65536) {
        if (headerEnd != std::string::npos && request.size() >= headerEnd + 4 + wanted) break;
        pollfd waiting{connection, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0) continue;
        char buffer[4096];
        const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
        if (headerEnd == std::string::npos &&
            (headerEnd = request.find("\r\n\r\n")) != std::string::npos) {
            std::string lower = request.substr(0, headerEnd);
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const std::size_t at = lower.find("content-length:");
            if (at != std::string::npos)
                wanted = std::strtoul(lower.c_str() + at + 15, nullptr, 10);
            wanted = std::min<std::size_t>(wanted, 65536);
        }
    }
    if (headerEnd == std::string::npos) {
        note("bad http request");
        return;
    }
    const std::string firstLine = request.substr(0, request.find("\r\n"));
    const std::string body = request.substr(headerEnd + 4);
    if (options_.silent) {
        note("ignored " + firstLine);
        return;
    }
    if (firstLine.rfind("GET ", 0) == 0) {
        note("description");
        answerHttp(connection, 200, "text/xml", deviceDescription());
        return;
    }
    if (firstLine.rfind("POST " + std::string(kControlPath), 0) != 0) {
        note("unknown " + firstLine);
        answerHttp(connection, 404, "text/plain", "not found");
        return;
    }
    const std::string protocol = element(body, "NewProtocol");
    const std::string port = element(body, "NewExternalPort");
    if (body.find("GetExternalIPAddress") != std::string::npos) {
        note("external-address");
        answerHttp(connection, 200, "text/xml",
                   soapAnswer("GetExternalIPAddress", std::string("<NewExternalIPAddress>") +
                                                          kFakePublicAddress +
                                                          "</NewExternalIPAddress>"));
    } else if (body.find("AddPortMapping") != std::string::npos) {
        note("add " + protocol + " " + port + "->" + element(body, "NewInternalClient") + ":" +
             element(body, "NewInternalPort") + " lease " + element(body, "NewLeaseDuration") +
             (options_.refuseWith ? " refused" : ""));
        if (options_.refuseWith)
            answerHttp(connection, 500, "text/xml", soapFault(options_.refuseWith));
        else
            answerHttp(connection, 200, "text/xml", soapAnswer("AddPortMapping", ""));
    } else if (body.find("DeletePortMapping") != std::string::npos) {
        note("delete " + protocol + " " + port);
        answerHttp(connection, 200, "text/xml", soapAnswer("DeletePortMapping", ""));
    } else {
        note("unknown action");
        answerHttp(connection, 500, "text/xml", soapFault(401));
    }
}
