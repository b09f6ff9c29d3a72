// Whether this computer is on the MivoStick's own Wi-Fi network, checked at start-up and each
// time the main menu opens; the result is kept in stickConnected (AppState.h).
//
// The computer is on the stick's network when one of its IPv4 addresses begins with the first
// three octets of the stick's fixed address. `mes --stick HOST[:PORT]` points the editor at a
// stick elsewhere (mes-stick-sim on this computer, say): the link then talks to that address and
// the check always counts as connected. Main thread only.
#pragma once

#include <string>
#include <vector>

// This computer's IPv4 addresses in dotted form, one per interface that is up (loopback
// included), in the order the system lists them.
std::vector<std::string> localIPv4Addresses();

// The address a check reports and whether it lies on the stick's network: the first address on
// the network, else the first that is not a loopback address, else "0.0.0.0".
struct StickNetworkMatch {
    std::string address;
    bool onStickNetwork = false;
};
StickNetworkMatch findStickNetwork(const std::vector<std::string>& addresses,
                                   const std::string& stickAddress);

// Points stickLink at the --stick option. True when the option is given and valid; an invalid
// value is reported on standard output (once) and ignored.
bool applyStickOption();

// The check: logs logLine (a format with one %s, e.g. "IP Address (1): %s\n") with this
// computer's address; when on the stick's network (or --stick is given), asks the stick for its
// version, three times at most, logs "Version: %i\n" and sets stickConnected; otherwise clears
// it. Returns stickConnected. The version queries use short time-outs: the version is only
// logged, and the editor must not stall on a silent stick.
bool checkStickNetwork(const char* logLine);
