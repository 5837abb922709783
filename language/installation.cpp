#include "language/installation.h"

#include <cstdlib>
#include <string>

#include "language/codepage_data.h"
#include "language/codepage_sets.h"
#include "language/embedded_files.h"
#include "protocol/device_table.h"
#include "protocol/exchanges.h"
#include "protocol/fixed_text.h"

namespace lumisk {
namespace {

constexpr char AllowStandInsVariable[] = "LUMISK_ALLOW_STAND_IN_CODEPAGES";

enum DiskStatus { NoDisks = 1, Unformatted = 2, Usable = 3 };

// The standard decimal conversion: leading digits, 0 when there are none.
template <std::size_t N>
int NumberOf(const char (&text)[N]) {
    return static_cast<int>(std::strtol(std::string(TextOf(text)).c_str(), nullptr, 10));
}

}  // namespace

LanguageReadiness AskLanguageReadiness() {
    using Refusal = LanguageReadiness::Refusal;
    CopyText(DiskStatusText, "");
    QueryDiskStatus();
    switch (NumberOf(DiskStatusText)) {
        case NoDisks:
            return {Refusal::NoDisks, -1};
        case Unformatted:
            return {Refusal::Unformatted, -1};
        case Usable:
            break;
        default:
            return {Refusal::NotSupported, -1};
    }
    CopyText(CodepageText, "");
    QueryCodepage();
    const std::optional<int> language = LanguageOfCodepage(NumberOf(CodepageText));
    return language ? LanguageReadiness{Refusal::None, *language}
                    : LanguageReadiness{Refusal::NotSupported, -1};
}

const char* RefusalMessage(LanguageReadiness::Refusal refusal) {
    switch (refusal) {
        case LanguageReadiness::Refusal::NoDisks:
            return "No hard drives were detected.\nPlease verify that the hard drives are properly "
                   "connected "
                   "before continuing.";
        case LanguageReadiness::Refusal::Unformatted:
            return "Please format hard drive.";
        case LanguageReadiness::Refusal::NotSupported:
            return "Multi-language options are not supported on this device.";
        case LanguageReadiness::Refusal::None:
            break;
    }
    return "";
}

bool StandInCodepagesRefused() {
    const char* allowed = std::getenv(AllowStandInsVariable);
    return EmbeddedCodepagesAreStandIns() && (allowed == nullptr || std::string(allowed) != "1");
}

bool WriteEmbeddedFile(ShareFileWriter& files, std::string_view kind, int id,
                       const std::string& networkPath) {
    const auto bytes = FindEmbeddedFile(kind, id);
    return bytes && files.WriteFile(networkPath, *bytes) == 0;
}

InstallOutcome InstallLanguage(int index, ShareFileWriter& files, const std::string& host,
                               const std::function<void(const std::string&)>& onFile) {
    if (StandInCodepagesRefused()) {
        return InstallOutcome::StandInFiles;
    }
    CopyText(AccessModeText, "rw");
    SetAccessMode();
    CopyText(ShareNameText, "");
    QueryShareName();
    const std::optional<CodepageDirectory> target = CodepageDirectoryFor(TextOf(ShareNameText));
    if (!target) {
        return InstallOutcome::UnknownLayout;
    }
    for (const SupportFile& file : SupportFiles(index, target->layout)) {
        if (onFile) {
            onFile(file.name);
        }
        const std::string path = "\\\\" + host + "\\" + target->directory + "\\" + file.name;
        if (!WriteEmbeddedFile(files, "Codepage", file.id, path)) {
            return InstallOutcome::FileFailed;
        }
    }
    CopyText(CodepageText, std::to_string(LanguageCodepages[index]));
    SetCodepage();
    return InstallOutcome::Installed;
}

}  // namespace lumisk
