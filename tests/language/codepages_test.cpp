#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "language/embedded_files.h"

namespace lumisk::testing {
namespace {

using Bytes = std::span<const std::uint8_t>;

enum class Form { Table, PowerPcModule, ArmModule, UnicodeMap };

struct Expected {
    int id;
    std::string_view name;
    std::size_t size;
    Form form;
    int codePage;
};

// What the adapter maker ships; unicode_map.866 is a copy of codepage.866.
constexpr std::array<Expected, 30> Files = {{
    {151, "codepage.950", 8, Form::Table, 950},
    {153, "nls_cp950.o", 106268, Form::PowerPcModule, 950},
    {155, "nls_big5.o", 1724, Form::PowerPcModule, 950},
    {174, "nls_cp950.ko", 105791, Form::ArmModule, 950},
    {156, "unicode_map.950", 262174, Form::UnicodeMap, 950},
    {157, "codepage.936", 8, Form::Table, 936},
    {158, "nls_cp936.o", 129244, Form::PowerPcModule, 936},
    {159, "nls_gb2312.o", 1728, Form::PowerPcModule, 936},
    {175, "nls_cp936.ko", 128599, Form::ArmModule, 936},
    {160, "unicode_map.936", 262174, Form::UnicodeMap, 936},
    {143, "codepage.850", 132, Form::Table, 850},
    {145, "nls_cp850.o", 5020, Form::PowerPcModule, 850},
    {179, "nls_cp850.ko", 5719, Form::ArmModule, 850},
    {148, "unicode_map.850", 131614, Form::UnicodeMap, 850},
    {161, "codepage.932", 8, Form::Table, 932},
    {162, "nls_cp932.o", 82848, Form::PowerPcModule, 932},
    {163, "nls_euc-jp.o", 6364, Form::PowerPcModule, 932},
    {172, "nls_sjis.o", 1724, Form::PowerPcModule, 932},
    {173, "nls_cp932.ko", 82562, Form::ArmModule, 932},
    {178, "nls_euc-jp.ko", 6809, Form::ArmModule, 932},
    {164, "unicode_map.932", 262174, Form::UnicodeMap, 932},
    {165, "codepage.949", 8, Form::Table, 949},
    {166, "nls_cp949.o", 152216, Form::PowerPcModule, 949},
    {167, "nls_euc-kr.o", 1728, Form::PowerPcModule, 949},
    {176, "nls_cp949.ko", 151405, Form::ArmModule, 949},
    {168, "unicode_map.949", 262174, Form::UnicodeMap, 949},
    {169, "codepage.866", 588, Form::Table, 866},
    {170, "nls_cp866.o", 5308, Form::PowerPcModule, 866},
    {177, "nls_cp866.ko", 6006, Form::ArmModule, 866},
    {171, "unicode_map.866", 588, Form::Table, 866},
}};

Bytes Codepage(int id) {
    const std::optional<Bytes> file = FindEmbeddedFile("Codepage", id);
    return file.value_or(Bytes{});
}

std::uint32_t Read16(Bytes bytes, std::size_t at, bool bigEndian) {
    const std::uint32_t first = bytes[at];
    const std::uint32_t second = bytes[at + 1];
    return bigEndian ? first << 8 | second : second << 8 | first;
}

std::uint32_t Read32(Bytes bytes, std::size_t at, bool bigEndian) {
    const std::uint32_t first = Read16(bytes, at, bigEndian);
    const std::uint32_t second = Read16(bytes, at + 2, bigEndian);
    return bigEndian ? first << 16 | second : second << 16 | first;
}

struct Section {
    std::string name;
    std::uint32_t type;
    Bytes bytes;
};

bool Fits(Bytes file, std::size_t offset, std::size_t size) {
    return offset <= file.size() && size <= file.size() - offset;
}

// The sections of an ELF32 file, or no value when a header points outside the file.
std::optional<std::vector<Section>> ReadSections(Bytes file, bool bigEndian) {
    constexpr std::size_t SectionHeaderSize = 40;
    if (!Fits(file, 0, 52) || Read16(file, 46, bigEndian) != SectionHeaderSize) {
        return std::nullopt;
    }
    const std::size_t tableOffset = Read32(file, 32, bigEndian);
    const std::size_t count = Read16(file, 48, bigEndian);
    const std::size_t namesIndex = Read16(file, 50, bigEndian);
    if (!Fits(file, tableOffset, count * SectionHeaderSize) || namesIndex >= count) {
        return std::nullopt;
    }
    std::vector<Section> sections;
    std::vector<std::uint32_t> nameOffsets;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t header = tableOffset + i * SectionHeaderSize;
        const std::size_t offset = Read32(file, header + 16, bigEndian);
        const std::size_t size = Read32(file, header + 20, bigEndian);
        if (!Fits(file, offset, size)) {
            return std::nullopt;
        }
        nameOffsets.push_back(Read32(file, header, bigEndian));
        sections.push_back({"", Read32(file, header + 4, bigEndian), file.subspan(offset, size)});
    }
    const Bytes names = sections[namesIndex].bytes;
    for (std::size_t i = 0; i < count; ++i) {
        const auto start = names.begin() + std::min<std::size_t>(nameOffsets[i], names.size());
        const auto end = std::find(start, names.end(), std::uint8_t{0});
        if (end == names.end()) {
            return std::nullopt;
        }
        sections[i].name.assign(start, end);
    }
    return sections;
}

TEST(EmbeddedCodepages, EveryIdYieldsAFileOfItsSize) {
    for (const Expected& expected : Files) {
        SCOPED_TRACE(expected.name);
        const std::optional<Bytes> file = FindEmbeddedFile("Codepage", expected.id);
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(file->size(), expected.size);
    }
}

TEST(EmbeddedCodepages, EveryFileIsEmbeddedByteForByte) {
    for (const Expected& expected : Files) {
        SCOPED_TRACE(expected.name);
        std::ifstream stream(std::string(LUMISK_CODEPAGE_DIR "/") + std::string(expected.name),
                             std::ios::binary);
        ASSERT_TRUE(stream.is_open());
        const std::vector<char> onDisk{std::istreambuf_iterator<char>(stream),
                                       std::istreambuf_iterator<char>()};
        const Bytes embedded = Codepage(expected.id);
        EXPECT_TRUE(
            std::equal(embedded.begin(), embedded.end(), onDisk.begin(), onDisk.end(),
                       [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
    }
}

TEST(EmbeddedCodepages, OnlyTheTwo866TablesAreIdentical) {
    for (std::size_t i = 0; i < Files.size(); ++i) {
        for (std::size_t j = i + 1; j < Files.size(); ++j) {
            const Bytes a = Codepage(Files[i].id);
            const Bytes b = Codepage(Files[j].id);
            const bool identical = std::equal(a.begin(), a.end(), b.begin(), b.end());
            const bool the866Pair = Files[i].id == 169 && Files[j].id == 171;
            EXPECT_EQ(identical, the866Pair) << Files[i].name << " and " << Files[j].name;
        }
    }
}

TEST(EmbeddedCodepages, TableHeadersCarryVersionCodePageAndEntryBytes) {
    for (const Expected& expected : Files) {
        if (expected.form != Form::Table) {
            continue;
        }
        SCOPED_TRACE(expected.name);
        const Bytes table = Codepage(expected.id);
        ASSERT_GE(table.size(), 8u);
        EXPECT_EQ(Read16(table, 0, false), 1u);
        EXPECT_EQ(Read16(table, 2, false), static_cast<std::uint32_t>(expected.codePage));
        EXPECT_EQ(Read32(table, 4, false), table.size() - 8);
        EXPECT_EQ((table.size() - 8) % 4, 0u);
    }
}

TEST(EmbeddedCodepages, Tables850And866HoldTheirEntries) {
    EXPECT_EQ(Read32(Codepage(143), 4, false), 31u * 4);
    EXPECT_EQ(Read32(Codepage(169), 4, false), 145u * 4);
}

TEST(EmbeddedCodepages, EmptyTablesDifferOnlyInTheCodePageNumber) {
    const std::array<std::array<std::uint8_t, 2>, 4> numbers = {
        {{0xB6, 0x03}, {0xA8, 0x03}, {0xA4, 0x03}, {0xB5, 0x03}}};
    const std::array<int, 4> ids = {151, 157, 161, 165};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        const Bytes table = Codepage(ids[i]);
        const std::array<std::uint8_t, 8> expected = {0x01, 0x00, numbers[i][0], numbers[i][1],
                                                      0x00, 0x00, 0x00,          0x00};
        EXPECT_TRUE(std::equal(table.begin(), table.end(), expected.begin(), expected.end()));
    }
}

TEST(EmbeddedCodepages, UnicodeMapsBeginWithTheirMarkAndNumber) {
    for (const Expected& expected : Files) {
        if (expected.form != Form::UnicodeMap) {
            continue;
        }
        SCOPED_TRACE(expected.name);
        const Bytes map = Codepage(expected.id);
        const std::string number = std::to_string(expected.codePage);
        ASSERT_GE(map.size(), 2 + number.size());
        EXPECT_EQ(map[0], 0x01);
        EXPECT_EQ(map[1], 0x80);
        EXPECT_EQ(std::string(map.begin() + 2, map.begin() + 2 + number.size()), number);
    }
}

TEST(EmbeddedCodepages, ModulesAreRelocatableObjectsForTheirProcessor) {
    using namespace std::string_literals;
    for (const Expected& expected : Files) {
        if (expected.form != Form::PowerPcModule && expected.form != Form::ArmModule) {
            continue;
        }
        SCOPED_TRACE(expected.name);
        const bool powerPc = expected.form == Form::PowerPcModule;
        const Bytes module = Codepage(expected.id);
        ASSERT_GE(module.size(), 52u);
        EXPECT_EQ(std::string(module.begin(), module.begin() + 4), "\177ELF");
        EXPECT_EQ(module[4], 1) << "ELFCLASS32";
        EXPECT_EQ(module[5], powerPc ? 2 : 1) << "byte order";
        EXPECT_EQ(Read16(module, 16, powerPc), 1u) << "ET_REL";
        EXPECT_EQ(Read16(module, 18, powerPc), powerPc ? 20u : 40u) << "e_machine";

        const std::optional<std::vector<Section>> sections = ReadSections(module, powerPc);
        ASSERT_TRUE(sections.has_value());
        const auto modinfo = std::find_if(sections->begin(), sections->end(),
                                          [](const Section& s) { return s.name == ".modinfo"; });
        ASSERT_NE(modinfo, sections->end());
        EXPECT_EQ(modinfo->type, 1u) << "SHT_PROGBITS";
        const std::string text =
            powerPc ? "kernel_version=2.4.21-pre4\0"s : "vermagic=2.6.6-arm2 ARMv5 gcc-3.3\0"s;
        EXPECT_EQ(std::string(modinfo->bytes.begin(), modinfo->bytes.end()), text);
    }
}

TEST(EmbeddedCodepages, KindIgnoresLetterCase) {
    for (const std::string_view kind : {"Codepage", "codepage", "CODEPAGE", "cOdEpAgE"}) {
        SCOPED_TRACE(kind);
        const std::optional<Bytes> file = FindEmbeddedFile(kind, 143);
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(file->size(), 132u);
    }
}

TEST(EmbeddedCodepages, UnknownKindsAndIdsGiveNothing) {
    for (const std::string_view kind : {"", "Code", "Codepages", "Code page", "Font", "Codepag"}) {
        EXPECT_FALSE(FindEmbeddedFile(kind, 151).has_value()) << '"' << kind << '"';
    }
    for (const int id : {-151, 0, 142, 144, 150, 152, 154, 180, 1151}) {
        EXPECT_FALSE(FindEmbeddedFile("Codepage", id).has_value()) << id;
    }
}

}  // namespace
}  // namespace lumisk::testing
