#include "cli/drive_commands.h"

#include <strings.h>
#include <cctype>
#include <cstdio>
#include <optional>

#include "cli/device_output.h"
#include "cli/password_input.h"
#include "drives/drive_table.h"
#include "drives/failure_text.h"
#include "drives/host_drives.h"
#include "drives/remote_name.h"
#include "protocol/console_text.h"
#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"
#include "protocol/utf8_text.h"

#ifndef _WIN32
#include "drives/mounted_drives.h"
#endif

namespace lumisk {
namespace {

void TellNotices(HostDrives& drives) {
    for (const std::string& notice : drives.TakeNotices()) {
        Tell(notice);
    }
}

// The message the window shows for the failure, and the reason below it.
int Fail(HostDrives& drives, const char* message) {
    Tell(FailureText(message, drives.FailureReason()));
    return ExitFailure;
}

// "E:" of "E", "e:" and the like; nothing for anything but a letter D to Z.
std::optional<std::string> LocalNameOf(const std::string& text) {
    if (text.empty() || text.size() > 2 || (text.size() == 2 && text[1] != ':')) {
        return std::nullopt;
    }
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'D' || letter > 'Z') {
        return std::nullopt;
    }
    return std::string(1, letter) + ":";
}

// The share as the adapter lists it, letter case aside.
std::optional<std::string> ListedShare(const std::string& share) {
    for (const ShareNode* node = ShareTable.head; node != nullptr; node = node->next) {
        if (strcasecmp(node->shareName, share.c_str()) == 0) {
            return std::string(node->shareName);
        }
    }
    return std::nullopt;
}

struct DriveState {
    std::optional<std::string> path;
    bool mounted;
    std::optional<std::string> unknown;  // why nothing is known of the mount
};

// Where a drive can be opened now. On Windows the letter is the drive, when it is connected.
DriveState StateOf(HostDrives& drives, const std::string& localName,
                   const std::string& remoteName) {
#ifdef _WIN32
    (void)remoteName;
    if (!drives.IsConnected(localName)) {
        return {std::nullopt, false, std::nullopt};
    }
    return {localName + "\\", true, std::nullopt};
#else
    (void)drives;
    (void)localName;
    const std::optional<ShareName> name = ShareOf(remoteName);
    const MountState mount = name ? SmbShareMount(name->server, name->share) : MountState{};
    return {mount.localPath, mount.mounted,
            mount.unanswered ? std::optional(mount.unanswered->message) : std::nullopt};
#endif
}

}  // namespace

int ConnectDrive(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    std::optional<std::string> localName;
    if (arguments.operands.size() > 2 && !(localName = LocalNameOf(arguments.operands[2]))) {
        Complain("LETTER is a drive letter from D to Z");
        return ExitUsage;
    }
    const auto user = arguments.values.find("--user");
    if (arguments.Has(PasswordStdin) && user == arguments.values.end()) {
        Complain("--password-stdin goes with --user");
        return ExitUsage;
    }
    if (!SelectAdapter(context, deviceIp)) {
        return ExitFailure;
    }
    const std::string deviceName(TextOf(FindSelectedDevice()->name));
    ClearShareTable();
    QueryShareList();
    const std::optional<std::string> share = ListedShare(arguments.operands[1]);
    if (!share) {
        Complain("the adapter at " + deviceIp + " has no share " + arguments.operands[1]);
        return ExitFailure;
    }
    const std::optional<std::string> remoteName = ShareRemoteName(deviceName, *share);
    if (!remoteName) {
        Complain("the adapter's name cannot name a network share");
        return ExitFailure;
    }

    HostDrives& drives = context.host.drives;
    ReadDriveTable(drives);
    if (!localName) {
        const DriveLetterChoices choices = OfferedDriveLetters(drives);
        if (choices.current < 0) {
            Complain("no drive letter is free");
            return ExitFailure;
        }
        localName = choices.items[static_cast<std::size_t>(choices.current)].substr(0, 2);
    }

    std::string userName;
    std::string password;
    if (user != arguments.values.end()) {
        userName = user->second;
        // The window's login dialog takes as many bytes as the adapters' login fields.
        if (userName.size() >= sizeof LoginUserName) {
            Complain("--user takes at most " + std::to_string(sizeof LoginUserName - 1) + " bytes");
            return ExitUsage;
        }
        std::optional<std::string> typed;
        if (arguments.Has(PasswordStdin)) {
            // Read and checked before anything was sent; no value when standard input gave none.
            const auto given = arguments.values.find(PasswordStdin);
            if (given != arguments.values.end()) {
                typed = given->second;
            }
        } else {
            typed = PromptForPassword("Password for " + userName + ": ");
        }
        if (!typed) {
            Complain("no password: give it with --password-stdin");
            return ExitUsage;
        }
        if (typed->size() >= sizeof LoginPassword) {
            Complain("the password takes at most " + std::to_string(sizeof LoginPassword - 1) +
                     " bytes");
            return ExitUsage;
        }
        password = *typed;
    }
    const int result = drives.AddConnection(*localName, *remoteName, password, userName);
    TellNotices(drives);
    if (result != 0) {
        return Fail(drives, "Failed to map drive.");
    }
    Tell("Successfully mapped drive.");
    const DriveState state = StateOf(drives, *localName, *remoteName);
    // The names come from the adapter.
    PrintText(stdout, "%s\t%s\t%s\n", localName->c_str(), PrintableText(*remoteName).c_str(),
              PrintableText(state.path.value_or("")).c_str());
    return ExitSuccess;
}

int DisconnectDrive(const Arguments& arguments, const CommandContext& context) {
    const std::optional<std::string> localName = LocalNameOf(arguments.operands[0]);
    if (!localName) {
        Complain("LETTER is a drive letter from D to Z");
        return ExitUsage;
    }
    HostDrives& drives = context.host.drives;
    const int result = drives.CancelConnection(*localName);
    TellNotices(drives);
    if (result != 0) {
        return Fail(drives,
                    "Unable to disconnect this drive.\nPlease select a drive to disconnect and "
                    "verify that the drive is not being accessed.");
    }
    Tell("Successfully unmapped drive.");
    return ExitSuccess;
}

int ListDrives(const Arguments& arguments, const CommandContext& context) {
    int status = ExitSuccess;
    // Windows restores its remembered drives at logon by itself.
#ifndef _WIN32
    if (arguments.Has("--restore")) {
        for (const std::string& failure : RestoreRememberedDrives()) {
            Complain(failure);
            status = ExitFailure;
        }
    }
#endif
    HostDrives& drives = context.host.drives;
    const bool json = arguments.Has("--json");
    std::string out = json ? "[" : "";
    bool first = true;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string localName = std::string(1, letter) + ":";
        const std::optional<std::string> remoteName = drives.RemoteName(localName);
        if (!remoteName) {
            continue;
        }
        const DriveState state = StateOf(drives, localName, *remoteName);
        if (state.unknown) {
            Complain(localName + " " + PrintableText(*remoteName) + ": " + *state.unknown);
            status = ExitFailure;
        }
        if (json) {
            out += std::string(first ? "\n  " : ",\n  ") + "{\"letter\": " + JsonString(localName) +
                   ", \"remote\": " + JsonString(*remoteName) +
                   ", \"path\": " + (state.path ? JsonString(*state.path) : "null") +
                   ", \"mounted\": " + (state.mounted ? "true" : "false") + "}";
        } else {
            out += localName + '\t' + PrintableText(*remoteName) + '\t' +
                   PrintableText(state.path.value_or("-")) + '\t' +
                   (state.mounted ? "mounted" : "not mounted") + '\n';
        }
        first = false;
    }
    if (json) {
        out += first ? "]\n" : "\n]\n";
    }
    WriteText(stdout, out);
    return status;
}

}  // namespace lumisk
