#pragma once
// The simulator's command line: global settings and the adapters to play.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/adapter.h"

namespace lumisk::sim {

inline constexpr std::uint16_t DefaultWebPort = 80;

struct Options {
    std::vector<Adapter> adapters;  // every --count already expanded
    std::string interfaceName;      // empty: the adapters' addresses exist already
    std::uint16_t webPort = DefaultWebPort;
    std::string readyFile;
    std::string recordFile;
    bool help = false;
};

class OptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws OptionError naming the offending argument.
Options ParseOptions(std::span<const std::string_view> arguments);

std::string_view UsageText();

}  // namespace lumisk::sim
