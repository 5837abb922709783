#include "cli/language_command.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "drives/failure_text.h"
#include "language/codepage_sets.h"
#include "language/installation.h"
#include "language/restart_timing.h"
#include "protocol/console_text.h"

namespace lumisk {

int InstallLanguageCommand(const Arguments& arguments, const CommandContext& context) {
    const std::string& deviceIp = arguments.operands[0];
    const std::optional<int> language = LanguageOfCodepage(
        static_cast<int>(std::strtol(arguments.operands[1].c_str(), nullptr, 10)));
    if (!language || arguments.operands[1] != std::to_string(LanguageCodepages[*language])) {
        Complain("CODEPAGE is one of 950, 936, 850, 932, 949, 866");
        return ExitUsage;
    }
    if (StandInCodepagesRefused()) {
        Complain(StandInCodepagesMessage);
        return ExitFailure;
    }
    if (!SelectAdapter(context, deviceIp)) {
        return ExitFailure;
    }
    const LanguageReadiness readiness = AskLanguageReadiness();
    if (readiness.refusal != LanguageReadiness::Refusal::None) {
        Complain(RefusalMessage(readiness.refusal));
        return ExitFailure;
    }
    ShareFileWriter& shareFiles = context.host.shareFiles;
    const InstallOutcome outcome = InstallLanguage(
        *language, shareFiles, deviceIp,
        [](const std::string& name) { PrintText(stderr, "writing %s\n", name.c_str()); });
    if (outcome != InstallOutcome::Installed) {
        Tell(FailureText("Please check hard drives.", outcome == InstallOutcome::FileFailed
                                                          ? shareFiles.FailureReason()
                                                          : std::string()));
        return ExitFailure;
    }
    Tell("Code page " + arguments.operands[1] + " sent; the adapter restarts.");
    if (!arguments.Has("--no-wait")) {
        const RestartTiming timing;
        for (int step = 1; step <= RestartTiming::Steps; ++step) {
            PrintText(stderr, "\rrestarting: %3d%%", step * 100 / RestartTiming::Steps);
            context.host.clock.Sleep(timing.stepPause);
        }
        context.host.clock.Sleep(timing.lifetime - RestartTiming::Steps * timing.stepPause);
        PrintText(stderr, "\n");
    }
    return ExitSuccess;
}

}  // namespace lumisk
