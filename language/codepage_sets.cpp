#include "language/codepage_sets.h"

#include <algorithm>

#include "protocol/text_case.h"

namespace lumisk {
namespace {

struct LanguageFiles {
    std::vector<SupportFile> powerPc;
    std::vector<SupportFile> arm;
};

const LanguageFiles& FilesOf(int index) {
    static const LanguageFiles files[LanguageCount] = {
        {{{151, "codepage.950"},
          {153, "nls_cp950.o"},
          {155, "nls_big5.o"},
          {156, "unicode_map.950"}},
         {{151, "codepage.950"}, {174, "nls_cp950.ko"}, {156, "unicode_map.950"}}},
        {{{157, "codepage.936"},
          {158, "nls_cp936.o"},
          {159, "nls_gb2312.o"},
          {160, "unicode_map.936"}},
         {{157, "codepage.936"}, {175, "nls_cp936.ko"}, {160, "unicode_map.936"}}},
        {{{143, "codepage.850"}, {145, "nls_cp850.o"}, {148, "unicode_map.850"}},
         {{143, "codepage.850"}, {179, "nls_cp850.ko"}, {148, "unicode_map.850"}}},
        {{{161, "codepage.932"},
          {162, "nls_cp932.o"},
          {163, "nls_euc-jp.o"},
          {172, "nls_sjis.o"},
          {164, "unicode_map.932"}},
         {{161, "codepage.932"},
          {173, "nls_cp932.ko"},
          {178, "nls_euc-jp.ko"},
          {164, "unicode_map.932"}}},
        {{{165, "codepage.949"},
          {166, "nls_cp949.o"},
          {167, "nls_euc-kr.o"},
          {168, "unicode_map.949"}},
         {{165, "codepage.949"}, {176, "nls_cp949.ko"}, {168, "unicode_map.949"}}},
        {{{169, "codepage.866"}, {170, "nls_cp866.o"}, {171, "unicode_map.866"}},
         {{169, "codepage.866"}, {177, "nls_cp866.ko"}, {171, "unicode_map.866"}}},
    };
    return files[index];
}

}  // namespace

std::vector<SupportFile> SupportFiles(int index, TargetLayout layout) {
    if (index < 0 || index >= LanguageCount) {
        return {};
    }
    return layout == TargetLayout::PowerPc ? FilesOf(index).powerPc : FilesOf(index).arm;
}

std::optional<int> LanguageOfCodepage(int codepage) {
    const auto found =
        std::find(std::begin(LanguageCodepages), std::end(LanguageCodepages), codepage);
    if (found == std::end(LanguageCodepages)) {
        return std::nullopt;
    }
    return static_cast<int>(found - std::begin(LanguageCodepages));
}

std::optional<CodepageDirectory> CodepageDirectoryFor(std::string_view shareName) {
    if (shareName.empty() || EqualIgnoringCase(shareName, "HDD_a")) {
        return CodepageDirectory{TargetLayout::PowerPc, "HDD_a\\.codepages"};
    }
    if (EqualIgnoringCase(shareName, "HDD_1")) {
        return CodepageDirectory{TargetLayout::Arm,
                                 std::string(shareName) + "\\.systemfile\\.codepages"};
    }
    return std::nullopt;
}

}  // namespace lumisk
