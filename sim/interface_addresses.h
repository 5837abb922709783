#pragma once
// The adapters' addresses on a network interface, put there and taken away with the ip tool, so
// the simulator can play adapters on addresses the namespace does not hold yet.

#include <map>
#include <string>
#include <vector>

#include "protocol/ip_text.h"

namespace lumisk::sim {

struct InterfaceAddress {
    Ipv4Bytes address;
    int prefixLength;
};

class InterfaceAddresses {
public:
    // Lets a secondary address take over when a primary one is removed, so moving one adapter
    // never takes the addresses of others on the same subnet with it.
    explicit InterfaceAddresses(std::string interfaceName);
    // Removes every address this object added.
    ~InterfaceAddresses();
    InterfaceAddresses(const InterfaceAddresses&) = delete;
    InterfaceAddresses& operator=(const InterfaceAddresses&) = delete;

    // Adds those of the addresses the interface lacks, all with one ip process. Throws
    // std::runtime_error when ip fails.
    void Add(const std::vector<InterfaceAddress>& addresses);
    // Removes an address this object added; others are left alone.
    void Remove(const Ipv4Bytes& address);

private:
    std::string interfaceName_;
    std::map<Ipv4Bytes, int> added_;  // address and its prefix length
};

}  // namespace lumisk::sim
