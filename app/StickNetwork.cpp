#include "app/StickNetwork.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Startup.h"
#include "gui/Log.h"
#include "net/MivoStickLink.h"

namespace {

bool isLoopback(const std::string& address) {
    return address.compare(0, 4, "127.") == 0;
}

// Time-outs of the version queries, in milliseconds: a stick on the local Wi-Fi answers far
// sooner, and three queries must not hold the editor for long.
constexpr int kProbeConnectMs = 1500;
constexpr int kProbeSendMs = 1500;
constexpr int kProbeReplyMs = 2500;

// The shorter of two time-outs, where 0 or less means none.
int shorter(int timeoutMs, int limitMs) {
    return timeoutMs <= 0 ? limitMs : std::min(timeoutMs, limitMs);
}

}  // namespace

std::vector<std::string> localIPv4Addresses() {
    std::vector<std::string> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return addresses;
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET ||
            (i->ifa_flags & IFF_UP) == 0)
            continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr)
            addresses.push_back(text);
    }
    freeifaddrs(list);
    return addresses;
}

StickNetworkMatch findStickNetwork(const std::vector<std::string>& addresses,
                                   const std::string& stickAddress) {
    StickNetworkMatch match;
    for (const std::string& a : addresses) {
        if (isOnStickNetwork(a, stickAddress)) {
            match.address = a;
            match.onStickNetwork = true;
            return match;
        }
    }
    auto outside = std::find_if(addresses.begin(), addresses.end(),
                                [](const std::string& a) { return !isLoopback(a); });
    match.address = outside != addresses.end() ? *outside : "0.0.0.0";
    return match;
}

bool applyStickOption() {
    const auto option = startOptions.find("stick");
    if (option == startOptions.end())
        return false;
    // The check runs at start-up and at every opening of the menu: say things once.
    static std::string reported;
    const bool first = reported != option->second;
    reported = option->second;
    std::string host = kStickAddress;
    int port = kStickPort;
    if (!parseStickEndpoint(option->second, host, port)) {
        if (first)
            GUI_Print("--stick %s: expected HOST or HOST:PORT (ignored)\n", option->second.c_str());
        return false;
    }
    stickLink.setEndpoint(host, port);
    if (first)
        GUI_Print("MivoStick at %s:%d\n", host.c_str(), port);
    return true;
}

bool checkStickNetwork(const char* logLine) {
    const bool pointed = applyStickOption();
    const StickNetworkMatch match = findStickNetwork(localIPv4Addresses(), kStickAddress);
    GUI_LogPrint(logLine, match.address.c_str());
    if (!match.onStickNetwork && !pointed) {
        stickConnected = false;
        return false;
    }
    const happyhttp::Timeouts usual = stickLink.timeouts();
    happyhttp::Timeouts probe = usual;
    probe.connectMs = shorter(usual.connectMs, kProbeConnectMs);
    probe.sendMs = shorter(usual.sendMs, kProbeSendMs);
    probe.replyMs = shorter(usual.replyMs, kProbeReplyMs);
    stickLink.setTimeouts(probe);
    const int version = queryStickVersion([] { return stickLink.version(); });
    stickLink.setTimeouts(usual);
    GUI_LogPrint("Version: %i\n", version);
    stickConnected = true;
    return true;
}
