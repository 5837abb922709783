#include "cli/arguments.h"

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

}  // namespace lumisk
