#include "cli/command_table.h"

#include <span>

#include "cli/adapter_commands.h"
#include "cli/drive_commands.h"
#include "cli/language_command.h"
#include "cli/password_input.h"
#include "protocol/console_text.h"
#include "protocol/device_table.h"
#include "protocol/exchanges.h"

namespace lumisk {
namespace {

// A query whose answer lands in `target`.
Command TextQuery(const std::string& name, const std::string& what, int (*exchange)(),
                  std::span<char> target) {
    return {.name = name,
            .operands = {DeviceIpOperand},
            .description = "Prints the adapter's " + what + ".",
            .run = [exchange, target](const Arguments& arguments, const CommandContext& context) {
                return QueryText(arguments, context, exchange, target);
            }};
}

// A change that sends one text.
Command TextSet(const std::string& name, const std::string& what, int (*exchange)(),
                std::span<char> field) {
    return {
        .name = name,
        .operands = {DeviceIpOperand, "VALUE"},
        .options = "[--password-stdin]",
        .description =
            "Logs in as the adapter's administrator, as login does, then sets the "
            "adapter's " +
            what + " to VALUE; prints VALUE.",
        .rules = {{PasswordStdin}, {}},
        .run = [exchange, field, what](const Arguments& arguments, const CommandContext& context) {
            return SetText(arguments, context, exchange, field, what);
        }};
}

}  // namespace

const std::vector<Command>& Commands() {
    const ArgumentRules withPassword{{PasswordStdin}, {}};
    static const std::vector<Command> commands = {
        {.name = "search",
         .options = "[--json]",
         .description =
             "Searches the LAN once and prints one line per adapter: name, IP, netmask, gateway, "
             "dhcp or static, and the DeviceId as 20 hex digits, separated by tabs. --json prints "
             "an array of objects with the keys name, ip, netmask, gateway, dhcp, deviceId and "
             "interface (the address of the network card the adapter answered through).",
         .rules = {{"--json"}, {}},
         .run = SearchAdapters},
        {.name = "shares",
         .operands = {DeviceIpOperand},
         .description = "Prints the adapter's shares, one per line.",
         .run = PrintShares},
        TextQuery("workgroup", "workgroup", QueryWorkgroup, WorkgroupText),
        TextQuery("codepage", "code page", QueryCodepage, CodepageText),
        TextQuery("disk-status", "disk status", QueryDiskStatus, DiskStatusText),
        TextQuery("share-name", "share name", QueryShareName, ShareNameText),
        {.name = "login",
         .operands = {DeviceIpOperand},
         .options = "[--password-stdin]",
         .description =
             "Logs in as the adapter's administrator: first with an empty password, then with the "
             "password read from standard input (--password-stdin) or typed at a prompt.",
         .rules = withPassword,
         .run = LogIn},
        {.name = "set-ip",
         .operands = {DeviceIpOperand},
         .options = "--ip A --netmask M --gateway G [--password-stdin]",
         .description = "Logs in as the adapter's administrator, as login does, then gives the "
                        "adapter a static address; prints its new address.",
         .rules = {{PasswordStdin}, {"--ip", "--netmask", "--gateway"}},
         .run = SetStaticIp},
        {.name = "set-dhcp",
         .operands = {DeviceIpOperand},
         .options = "[--password-stdin]",
         .description = "Logs in as the adapter's administrator, as login does, then makes the "
                        "adapter a DHCP client; prints the address it answers from.",
         .rules = withPassword,
         .run = SetDhcp},
        TextSet("set-workgroup", "workgroup", SetWorkgroup, WorkgroupText),
        TextSet("set-codepage", "code page", SetCodepage, CodepageText),
        TextSet("set-access-mode", "access mode", SetAccessMode, AccessModeText),
        {.name = "language",
         .operands = {DeviceIpOperand, "CODEPAGE"},
         .options = "[--no-wait]",
         .description =
             "Installs the language of CODEPAGE (950, 936, 850, 932, 949 or 866) on the adapter: "
             "access mode rw, the support files on its share, the new code page; then waits the "
             "90 s the adapter takes to restart, unless --no-wait.",
         .rules = {{"--no-wait"}, {}},
         .run = InstallLanguageCommand},
        {.name = "connect",
         .operands = {DeviceIpOperand, "SHARE"},
         .optionalOperands = {"LETTER"},
         .options = "[--user NAME] [--password-stdin]",
         .description =
             "Maps the adapter's SHARE to a drive letter as the window's Connect does: LETTER, or "
             "the first free one; as a guest, or as NAME with the password read from standard "
             "input (--password-stdin) or typed at a prompt. Prints the letter, the remote name "
             "\\\\NAME\\SHARE and the local path of the share's mount, separated by tabs.",
         .rules = {{PasswordStdin}, {"--user"}},
         .run = ConnectDrive},
        {.name = "disconnect",
         .operands = {"LETTER"},
         .description = "Removes the mapping of a drive letter.",
         .run = DisconnectDrive},
        {.name = "drives",
         .options = "[--json] [--restore]",
         .description =
             "Lists the remembered drive mappings: letter, remote name, the local path of the "
             "share's mount (- when none) and whether it is mounted now, separated by tabs. --json "
             "prints an array of objects with the keys letter, remote, path (null when none) and "
             "mounted. --restore first mounts every remembered mapping that needs no password, as "
             "at login, and says which it could not.",
         .rules = {{"--json", "--restore"}, {}},
         .run = ListDrives},
    };
    return commands;
}

std::string Synopsis(const Command& command) {
    std::string synopsis = command.name;
    for (const std::string& operand : command.operands) {
        synopsis += " " + operand;
    }
    for (const std::string& operand : command.optionalOperands) {
        synopsis += " [" + operand + "]";
    }
    if (!command.options.empty()) {
        synopsis += " " + command.options;
    }
    return synopsis;
}

void PrintUsage(std::FILE* stream) {
    PrintText(stream, "Usage: %s COMMAND [ARGUMENTS]\n       %s --version\n\nCommands:\n",
              ProgramName, ProgramName);
    for (const Command& command : Commands()) {
        PrintText(stream, "  %s\n", Synopsis(command).c_str());
    }
    PrintText(stream,
              "\nAny command takes --interface ADDRESS: search and talk only through the "
              "network card with that address.");
    PrintText(stream,
              "\n'%s COMMAND --help' describes one command. An option's value follows it "
              "as the next word or after '=' (--interface=ADDRESS); --verbose adds the "
              "exchanges' diagnostic "
              "lines. Results go to standard output, messages to standard error.\nExit "
              "status: 0 success, 1 adapter not found, not answering or refusing, 2 usage "
              "error.\n",
              ProgramName);
}

}  // namespace lumisk
