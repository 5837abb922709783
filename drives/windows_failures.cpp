#include "drives/windows_failures.h"

#include "protocol/utf16_text.h"

namespace lumisk {
namespace {

// Newer than MinGW-w64's headers: Windows 10 (1709 and later) refuses a guest session.
constexpr DWORD ErrorSmbGuestLogonBlocked = 1272;

// The system's own text for a code, or its number.
std::string SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text != nullptr ? text : L"", length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' ||
                              words.back() == L' ' || words.back() == L'.')) {
        words.pop_back();
    }
    const std::string number = "error " + std::to_string(code);
    return words.empty() ? "Windows reports " + number + "."
                         : "Windows says: " + Narrow(words) + " (" + number + ").";
}

// An adapter that speaks only SMB1 is not found by a system without the SMB1 client. The
// client is the user's to add, never the program's: it is named, not turned on.
std::string Smb1Advice(const std::string& server, WindowsDriveCalls& calls) {
    if (calls.HasSmb1Client()) {
        return {};
    }
    return " Windows on this computer has no SMB1 client, and an adapter that speaks only SMB1 "
           "is not found without it: if " +
           server +
           " is one, add the Windows feature \"SMB 1.0/CIFS Client\" (Turn Windows features "
           "on or off), restart, and try again.";
}

}  // namespace

std::string ExplainFailure(DWORD code, const FailureSubject& subject, WindowsDriveCalls& calls) {
    const std::string server = "\\\\" + subject.server;
    const std::string drive = subject.localName.empty() ? "The drive" : subject.localName;
    const bool writing = !subject.path.empty();
    switch (code) {
        case ERROR_SESSION_CREDENTIAL_CONFLICT:
            return "Windows is connected to " + server +
                   " already, under another user name, and takes one user name per server: "
                   "disconnect this adapter's other drives first, then try again.";
        case ERROR_ALREADY_ASSIGNED:
            return drive + " is in use by another drive of this computer: choose another letter.";
        case ERROR_DEVICE_ALREADY_REMEMBERED:
            return "Windows remembers another mapping of " + drive +
                   ": disconnect it first, or choose another letter.";
        case ERROR_BAD_NET_NAME:
            return server +
                   " has no share of that name, or does not give it to this computer: search "
                   "again and choose one of the adapter's shares." +
                   Smb1Advice(server, calls);
        case ERROR_BAD_NETPATH:
            return server +
                   " was not found on the network: check that the adapter is on and on this "
                   "network, and that this computer finds it by that name." +
                   Smb1Advice(server, calls);
        case ERROR_INVALID_PASSWORD:
        case ERROR_LOGON_FAILURE:
            return writing ? server +
                                 " refused the user name or password Windows used for it: map "
                                 "the share with Connect and its user name and password, then "
                                 "try again."
                           : server +
                                 " refused the user name or password: connect again and type "
                                 "the share's user name and password.";
        case ErrorSmbGuestLogonBlocked:
            return "Windows connects to no share as a guest, by this computer's security policy: "
                   "connect with the share's user name and password, or ask the administrator "
                   "about the policy \"Enable insecure guest logons\".";
        case ERROR_OPEN_FILES:
            return "Files on " + drive +
                   " are open: close them, and every window that shows the drive, then try "
                   "again.";
        case ERROR_DEVICE_IN_USE:
            return drive + " is in use by a program: close it, then try again.";
        case ERROR_NOT_CONNECTED:
            return drive + " is not mapped to a network share.";
        case ERROR_ACCESS_DENIED:
            return writing ? "Writing " + subject.path +
                                 " was refused: the share is read-only for the user Windows "
                                 "connected as. Map it with Connect as a user who may write "
                                 "to it, then try again."
                           : server +
                                 " refused the share to this user: connect as a user who "
                                 "may use it.";
        case ERROR_PATH_NOT_FOUND:
            return "The folder of " + subject.path +
                   " is not on the adapter's disk, and the language files go only there: check "
                   "the disk on the adapter's web page.";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "The adapter's disk is full: make room on it, then try again.";
        case ERROR_SHARING_VIOLATION:
            return subject.path + " is open in another program: close it, then try again.";
        case ERROR_EXTENDED_ERROR: {
            const WindowsDriveCalls::ProviderError error = calls.LastProviderError();
            const std::string who = error.provider.empty() ? "The network" : Narrow(error.provider);
            return error.description.empty() ? SystemText(code)
                                             : who + " says: " + Narrow(error.description);
        }
        default:
            return SystemText(code);
    }
}

}  // namespace lumisk
