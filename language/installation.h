#pragma once
// Installing a language on the selected adapter: access mode "rw", the support files written to
// its share, then the new code page. The adapter restarts on its own afterwards.

#include <functional>
#include <string>
#include <string_view>

#include "drives/share_files.h"

namespace lumisk {

// Whether the selected adapter can take a language change, and its current language.
struct LanguageReadiness {
    enum class Refusal { None, NoDisks, Unformatted, NotSupported } refusal;
    int language;  // 0..5 when there is no refusal
};

// Asks the selected adapter for its disk status and, when its disk is usable, its code page.
LanguageReadiness AskLanguageReadiness();

// The words the user is told for a refusal.
const char* RefusalMessage(LanguageReadiness::Refusal refusal);

// Whether this program must not install its code-page files: they are the stand-ins, and the
// environment does not set LUMISK_ALLOW_STAND_IN_CODEPAGES=1 (as tests and simulated adapters do).
bool StandInCodepagesRefused();

inline constexpr char StandInCodepagesMessage[] =
    "This program carries stand-in code-page files, not the adapter maker's: installing them "
    "would leave the adapter with made-up character tables and kernel modules.\nBuild it with "
    "the maker's files (cmake -DLUMISK_CODEPAGE_DIR=DIR, see tools/README.md).";

enum class InstallOutcome {
    Installed,
    // The files are stand-ins (StandInCodepagesRefused()); nothing was sent.
    StandInFiles,
    // The share name answer names no known layout; nothing was written.
    UnknownLayout,
    // A file could not be written whole; those before it stay, no code page was sent.
    FileFailed,
};

// Writes the embedded file `id` of `kind` ("Codepage", any case) as the whole file at
// `networkPath`: true when it was written, closed and exists afterwards.
bool WriteEmbeddedFile(ShareFileWriter& files, std::string_view kind, int id,
                       const std::string& networkPath);

// Installs language `index` (0..5) on the selected adapter, whose IP text is `host`; `onFile`
// hears of each file name before it is written.
InstallOutcome InstallLanguage(int index, ShareFileWriter& files, const std::string& host,
                               const std::function<void(const std::string&)>& onFile = {});

}  // namespace lumisk
