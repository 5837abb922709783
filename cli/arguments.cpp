#include "cli/arguments.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "protocol/utf16_text.h"
#endif

namespace lumisk {

ParsedArguments ParseArguments(const std::vector<std::string>& words, const ArgumentRules& rules) {
    Arguments arguments;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (word == "-h" || word == "--help") {
            arguments.flags.insert("--help");
        } else if (word.size() < 2 || !word.starts_with("--")) {
            arguments.operands.push_back(word);
        } else if (rules.valueNames.contains(name) && equals != std::string::npos) {
            arguments.values[name] = word.substr(equals + 1);
        } else if (rules.valueNames.contains(word)) {
            if (i + 1 == words.size()) {
                return {std::nullopt, word + " needs a value"};
            }
            arguments.values[word] = words[++i];
        } else if (rules.flags.contains(word) || word == VerboseFlag) {
            arguments.flags.insert(word);
        } else if (rules.flags.contains(name)) {
            return {std::nullopt, name + " takes no value"};
        } else {
            return {std::nullopt, "unknown option " + word};
        }
    }
    return {arguments, {}};
}

std::vector<std::string> ProgramWords(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> words;
        for (int i = 1; i < count; ++i) {
            words.push_back(Narrow(wide[i]));
        }
        LocalFree(wide);
        return words;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace lumisk
