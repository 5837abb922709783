#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/codepage_sets.h"
#include "language/embedded_files.h"

namespace lumisk {
namespace {

std::vector<std::string> Names(int index, TargetLayout layout) {
    std::vector<std::string> names;
    for (const SupportFile& file : SupportFiles(index, layout)) {
        names.push_back(file.name);
    }
    return names;
}

TEST(LanguageFiles, AreWrittenTableFirstModulesThenMap) {
    EXPECT_EQ(Names(3, TargetLayout::PowerPc),
              (std::vector<std::string>{"codepage.932", "nls_cp932.o", "nls_euc-jp.o", "nls_sjis.o",
                                        "unicode_map.932"}));
    EXPECT_EQ(Names(3, TargetLayout::Arm),
              (std::vector<std::string>{"codepage.932", "nls_cp932.ko", "nls_euc-jp.ko",
                                        "unicode_map.932"}));
    EXPECT_EQ(Names(2, TargetLayout::PowerPc).size(), 3u);
    EXPECT_EQ(Names(2, TargetLayout::Arm).size(), 3u);
    EXPECT_TRUE(SupportFiles(6, TargetLayout::Arm).empty());
    EXPECT_TRUE(SupportFiles(-1, TargetLayout::Arm).empty());
}

TEST(LanguageFiles, TogetherUseEveryEmbeddedFileOnce) {
    std::set<int> ids;
    std::size_t modules = 0;
    for (int index = 0; index < LanguageCount; ++index) {
        for (const TargetLayout layout : {TargetLayout::PowerPc, TargetLayout::Arm}) {
            for (const SupportFile& file : SupportFiles(index, layout)) {
                EXPECT_TRUE(FindEmbeddedFile("Codepage", file.id)) << file.name;
                ids.insert(file.id);
                modules += std::string(file.name).find("nls_") == 0 ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(ids.size(), 30u);
    EXPECT_EQ(modules, 18u);
}

TEST(LanguageFiles, CodepagesNameTheirLanguage) {
    EXPECT_EQ(LanguageOfCodepage(950), 0);
    EXPECT_EQ(LanguageOfCodepage(850), 2);
    EXPECT_EQ(LanguageOfCodepage(866), 5);
    EXPECT_FALSE(LanguageOfCodepage(437));
    EXPECT_FALSE(LanguageOfCodepage(0));
}

TEST(CodepageDirectories, FollowTheShareNameAnswer) {
    const struct {
        const char* answer;
        std::optional<TargetLayout> layout;
        const char* directory;
    } rows[] = {
        {"", TargetLayout::PowerPc, "HDD_a\\.codepages"},
        {"HDD_a", TargetLayout::PowerPc, "HDD_a\\.codepages"},
        {"hdd_A", TargetLayout::PowerPc, "HDD_a\\.codepages"},
        {"HDD_1", TargetLayout::Arm, "HDD_1\\.systemfile\\.codepages"},
        {"hdd_1", TargetLayout::Arm, "hdd_1\\.systemfile\\.codepages"},
        {"Volume1", std::nullopt, ""},
        {"HDD_a ", std::nullopt, ""},
    };
    for (const auto& row : rows) {
        const auto target = CodepageDirectoryFor(row.answer);
        ASSERT_EQ(target.has_value(), row.layout.has_value()) << row.answer;
        if (target) {
            EXPECT_EQ(target->layout, *row.layout) << row.answer;
            EXPECT_EQ(target->directory, row.directory) << row.answer;
        }
    }
}

}  // namespace
}  // namespace lumisk
