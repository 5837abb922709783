#include "sim/options.h"

#include <charconv>
#include <functional>
#include <map>

#include "protocol/fixed_text.h"

namespace lumisk::sim {
namespace {

constexpr std::uint32_t MaxCount = 65536;
constexpr std::uint32_t MaxMilliseconds = 24 * 60 * 60 * 1000;
constexpr std::size_t IdentityHexDigits = 2 * IdentitySize;
// Default identities: a locally administered prefix, then the adapter's position.
constexpr std::array<std::uint8_t, 3> DefaultIdentityPrefix = {0x02, 0x4C, 0x55};

constexpr std::string_view Usage =
    R"(Usage: lumisk-sim [GLOBAL OPTIONS] [ADAPTER OPTIONS] [--adapter ADAPTER OPTIONS]...

Plays one or many Velnora adapters on UDP port 13579 (group 224.0.0.1).
Adapter options before the first --adapter are defaults for every adapter; each --adapter
starts a new adapter from those defaults. Without --adapter the defaults make one adapter.

Global options:
  --interface IF         add the adapters' addresses to IF, move them on address changes,
                         remove them on exit
  --web-port P           TCP port of every adapter's web page (default 80)
  --ready-file PATH      written once every socket is up
  --record FILE          append each received datagram as a line: lowercase hex, a space,
                         and the sender's address and port (192.0.2.1:13579)
  --help                 show this text

Adapter options:
  --name TEXT            name (default "velnoraN", N the adapter's position)
  --ip A.B.C.D           address (required)
  --netmask A.B.C.D      default 255.255.255.0
  --gateway A.B.C.D      default 0.0.0.0
  --dhcp                 is a DHCP client
  --identity HEX         12 hex digits: the 6 identity bytes (default from the position)
  --shares TEXT          share list (default "HDD_a:HDD_b")
  --user TEXT            login user name (default "admin")
  --password TEXT        login password (default empty)
  --workgroup TEXT       default "WORKGROUP"
  --codepage TEXT        default "437"
  --disk-status TEXT     default "OK"
  --share-name TEXT      default "HDD_a"
  --lease-ip A.B.C.D     the address a switch to DHCP moves to (default: stay)
  --restart-ms N         silence after a code page change (default 90000)
  --reply-delay-ms N     delay before each reply (default 0)
  --flood-ms N           length of a flood (default 3000)
  --count N              N adapters on consecutive addresses, names suffixed -1..-N
  --no-web               no web page
  --reply-to-group       replies go to 224.0.0.1 instead of the requester
  --fault KIND           wrong-client-id | truncated | overlong | flood | silent | ignores-sets
)";

// Takes the adapter, the option and its value.
using Setter = std::function<void(Adapter&, std::string_view, std::string_view)>;

// An adapter as the command line describes it, before --count makes copies.
struct AdapterBlock {
    Adapter adapter;
    bool hasAddress = false;
    bool hasName = false;
    bool hasIdentity = false;
    std::uint32_t count = 1;
};

[[noreturn]] void Fail(std::string_view option, std::string_view value, std::string_view why) {
    throw OptionError(std::string(option) + " " + std::string(value) + ": " + std::string(why));
}

std::uint32_t ParseNumber(std::string_view option, std::string_view value, std::uint32_t low,
                          std::uint32_t high) {
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc{} || end != value.data() + value.size() || number < low ||
        number > high) {
        Fail(option, value,
             "expected a number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return number;
}

std::chrono::milliseconds ParseMilliseconds(std::string_view option, std::string_view value) {
    return std::chrono::milliseconds(ParseNumber(option, value, 0, MaxMilliseconds));
}

// The value itself, once it is known to be a dotted IPv4 address.
std::string_view AddressText(std::string_view option, std::string_view value) {
    if (!ParseIpText(value)) {
        Fail(option, value, "expected a dotted IPv4 address");
    }
    return value;
}

Ipv4Bytes ParseAddress(std::string_view option, std::string_view value) {
    return *ParseIpText(AddressText(option, value));
}

Identity ParseIdentity(std::string_view option, std::string_view value) {
    Identity identity{};
    if (value.size() != IdentityHexDigits) {
        Fail(option, value, "expected 12 hex digits");
    }
    for (std::size_t i = 0; i < identity.size(); ++i) {
        const char* digits = value.data() + 2 * i;
        const auto [end, error] = std::from_chars(digits, digits + 2, identity[i], 16);
        if (error != std::errc{} || end != digits + 2) {
            Fail(option, value, "expected 12 hex digits");
        }
    }
    return identity;
}

Fault ParseFault(std::string_view option, std::string_view value) {
    static const std::map<std::string_view, Fault> kinds = {
        {"wrong-client-id", Fault::WrongClientId},
        {"truncated", Fault::Truncated},
        {"overlong", Fault::Overlong},
        {"flood", Fault::Flood},
        {"silent", Fault::Silent},
        {"ignores-sets", Fault::IgnoresSets},
    };
    const auto kind = kinds.find(value);
    if (kind == kinds.end()) {
        Fail(option, value, "unknown fault");
    }
    return kind->second;
}

// Options that take a value and only change the adapter itself.
const std::map<std::string_view, Setter>& ValueSetters() {
    using V = std::string_view;
    static const std::map<std::string_view, Setter> setters = {
        {"--netmask", [](Adapter& a, V o, V v) { CopyText(a.netmask, AddressText(o, v)); }},
        {"--gateway", [](Adapter& a, V o, V v) { CopyText(a.gateway, AddressText(o, v)); }},
        {"--shares", [](Adapter& a, V, V v) { a.shares = v; }},
        {"--user", [](Adapter& a, V, V v) { a.user = v; }},
        {"--password", [](Adapter& a, V, V v) { a.password = v; }},
        {"--workgroup", [](Adapter& a, V, V v) { CopyText(a.workgroup, v); }},
        {"--codepage", [](Adapter& a, V, V v) { CopyText(a.codepage, v); }},
        {"--disk-status", [](Adapter& a, V, V v) { a.diskStatus = v; }},
        {"--share-name", [](Adapter& a, V, V v) { a.shareName = v; }},
        {"--lease-ip", [](Adapter& a, V o, V v) { a.leaseAddress = ParseAddress(o, v); }},
        {"--restart-ms", [](Adapter& a, V o, V v) { a.restartTime = ParseMilliseconds(o, v); }},
        {"--reply-delay-ms", [](Adapter& a, V o, V v) { a.replyDelay = ParseMilliseconds(o, v); }},
        {"--flood-ms", [](Adapter& a, V o, V v) { a.floodTime = ParseMilliseconds(o, v); }},
        {"--fault", [](Adapter& a, V o, V v) { a.fault = ParseFault(o, v); }},
    };
    return setters;
}

Identity IdentityPlus(const Identity& identity, std::uint32_t step) {
    Identity result = identity;
    std::uint32_t carry = step;
    for (auto byte = result.rbegin(); byte != result.rend() && carry != 0; ++byte) {
        const std::uint32_t sum = *byte + carry;
        *byte = static_cast<std::uint8_t>(sum);
        carry = sum >> 8;
    }
    return result;
}

Identity DefaultIdentity(std::size_t position) {
    Identity identity{};
    std::ranges::copy(DefaultIdentityPrefix, identity.begin());
    return IdentityPlus(identity, static_cast<std::uint32_t>(position));
}

void Expand(const AdapterBlock& block, std::size_t blockIndex, std::vector<Adapter>& adapters) {
    if (!block.hasAddress) {
        throw OptionError("adapter " + std::to_string(blockIndex + 1) + " has no --ip");
    }
    const std::string name =
        block.hasName ? block.adapter.name : "velnora" + std::to_string(blockIndex + 1);
    for (std::uint32_t copy = 0; copy < block.count; ++copy) {
        Adapter adapter = block.adapter;
        adapter.address = AddressPlus(block.adapter.address, copy);
        adapter.name = block.count > 1 ? name + "-" + std::to_string(copy + 1) : name;
        adapter.identity = block.hasIdentity ? IdentityPlus(block.adapter.identity, copy)
                                             : DefaultIdentity(adapters.size());
        adapters.push_back(std::move(adapter));
    }
}

}  // namespace

Options ParseOptions(std::span<const std::string_view> arguments) {
    Options options;
    AdapterBlock defaults;
    std::vector<AdapterBlock> blocks;
    const auto current = [&]() -> AdapterBlock& {
        return blocks.empty() ? defaults : blocks.back();
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= arguments.size()) {
                throw OptionError(std::string(option) + " needs a value");
            }
            return arguments[++i];
        };
        if (option == "--help") {
            options.help = true;
        } else if (option == "--adapter") {
            blocks.push_back(defaults);
        } else if (option == "--interface") {
            options.interfaceName = value();
        } else if (option == "--web-port") {
            options.webPort = static_cast<std::uint16_t>(ParseNumber(option, value(), 1, 65535));
        } else if (option == "--ready-file") {
            options.readyFile = value();
        } else if (option == "--record") {
            options.recordFile = value();
        } else if (option == "--name") {
            current().adapter.name = value();
            current().hasName = true;
        } else if (option == "--ip") {
            current().adapter.address = ParseAddress(option, value());
            current().hasAddress = true;
        } else if (option == "--identity") {
            current().adapter.identity = ParseIdentity(option, value());
            current().hasIdentity = true;
        } else if (option == "--count") {
            current().count = ParseNumber(option, value(), 1, MaxCount);
        } else if (option == "--dhcp") {
            current().adapter.dhcp = true;
        } else if (option == "--no-web") {
            current().adapter.web = false;
        } else if (option == "--reply-to-group") {
            current().adapter.replyToGroup = true;
        } else if (const auto setter = ValueSetters().find(option);
                   setter != ValueSetters().end()) {
            setter->second(current().adapter, option, value());
        } else {
            throw OptionError("unknown option " + std::string(option));
        }
    }
    if (options.help) {
        return options;
    }
    if (blocks.empty()) {
        blocks.push_back(defaults);
    }
    for (std::size_t block = 0; block < blocks.size(); ++block) {
        Expand(blocks[block], block, options.adapters);
    }
    return options;
}

std::string_view UsageText() {
    return Usage;
}

}  // namespace lumisk::sim
