#pragma once
// The six languages an adapter can use and the support files each needs on its disk, in the
// order they are written.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumisk {

inline constexpr int LanguageCount = 6;

// The code page of each language, by its index in the language list.
inline constexpr int LanguageCodepages[LanguageCount] = {950, 936, 850, 932, 949, 866};

// Where an adapter keeps the files: layout 1 on its "HDD_a" share with PowerPC modules, layout 2
// on its "HDD_1" share with ARM modules.
enum class TargetLayout { PowerPc = 1, Arm = 2 };

struct SupportFile {
    int id;  // of the embedded file
    const char* name;
};

// The files of language `index` (0..5) for `layout`: its code-page table, its modules, its
// Unicode map.
std::vector<SupportFile> SupportFiles(int index, TargetLayout layout);

// The index of the language whose code page is `codepage`, or nothing.
std::optional<int> LanguageOfCodepage(int codepage);

struct CodepageDirectory {
    TargetLayout layout;
    std::string directory;  // share, then the directory inside it, '\'-separated
};

// The layout and directory for the adapter's share name answer: empty or "HDD_a" (any case) is
// layout 1 in "HDD_a\.codepages"; "HDD_1" (any case) is layout 2 in the answer as given, then
// "\.systemfile\.codepages"; any other answer is neither.
std::optional<CodepageDirectory> CodepageDirectoryFor(std::string_view shareName);

}  // namespace lumisk
