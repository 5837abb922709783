// lumisk-cli: the adapters' search and settings for scripts that set up many adapters.

#include "cli/commands.h"

int main(int argc, char** argv) {
    return lumisk::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
