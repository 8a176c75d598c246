#include "support/silent_connections.h"

#include <enet/enet.h>

#include <chrono>

struct SilentConnections::Client {
    ENetHost* host = nullptr;
    ENetAddress target{};
    bool open = false;
};

SilentConnections::SilentConnections(const std::string& host, std::uint16_t port,
                                     const std::vector<std::string>& fromAddresses, bool reconnect)
    : reconnect_(reconnect) {
    enet_initialize();
    for (const std::string& from : fromAddresses) {
        auto* client = new Client;
        ENetAddress local{};
        enet_address_set_host_ip(&local, from.c_str());
        local.port = 0;
        client->host = enet_host_create(&local, 1, 2, 0, 0);
        // Compressed as the game's own peers are: the host's answers to the
        // connection are compressed, and only such a peer completes it.
        if (client->host) enet_host_compress_with_range_coder(client->host);
        enet_address_set_host_ip(&client->target, host.c_str());
        client->target.port = port;
        if (client->host) enet_host_connect(client->host, &client->target, 2, 0);
        clients_.push_back(client);
    }
    thread_ = std::thread([this] { run(); });
}

SilentConnections::~SilentConnections() {
    running_ = false;
    thread_.join();
    for (Client* client : clients_) {
        if (client->host) {
            for (std::size_t i = 0; i < client->host->peerCount; ++i)
                enet_peer_disconnect_now(&client->host->peers[i], 0);
            enet_host_destroy(client->host);
        }
        delete client;
    }
}

bool SilentConnections::WaitForConnects(int count, int ms) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (connects_ < count && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return connects_ >= count;
}

void SilentConnections::run() {
    while (running_) {
        for (Client* client : clients_) {
            if (!client->host) continue;
            ENetEvent event;
            while (enet_host_service(client->host, &event, 0) > 0) {
                if (event.type == ENET_EVENT_TYPE_CONNECT) {
                    client->open = true;
                    ++open_;
                    ++connects_;
                } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
                    // Refused before connecting, or let go after.
                    if (client->open) {
                        --open_;
                        ++drops_;
                    }
                    client->open = false;
                    if (reconnect_) enet_host_connect(client->host, &client->target, 2, 0);
                } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                    enet_packet_destroy(event.packet);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
