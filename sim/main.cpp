// lumisk-sim: plays Velnora adapters on the LAN so the program can be tried without hardware.

#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "sim/options.h"
#include "sim/simulator.h"

namespace {

constexpr int UsageError = 2;
constexpr int SetupError = 1;

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    lumisk::sim::Options options;
    try {
        options = lumisk::sim::ParseOptions(arguments);
    } catch (const lumisk::sim::OptionError& error) {
        std::fprintf(stderr, "lumisk-sim: %s\nTry 'lumisk-sim --help'.\n", error.what());
        return UsageError;
    }
    if (options.help) {
        std::fwrite(lumisk::sim::UsageText().data(), 1, lumisk::sim::UsageText().size(), stdout);
        return 0;
    }
    try {
        lumisk::sim::RunSimulator(std::move(options));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumisk-sim: %s\n", error.what());
        return SetupError;
    }
    return 0;
}
