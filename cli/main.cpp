// lumisk-cli: the adapters' search and settings for scripts that set up many adapters.

#include "cli/arguments.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
    return lumisk::RunCommandLine(lumisk::ProgramWords(argc, argv));
}
