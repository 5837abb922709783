// Writes stand-ins for the adapter maker's code-page files into one directory, together with
// the manifest.cmake the build checks them against. The bytes depend only on this table, so a
// second run writes the same files.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

enum class Form { Table, PowerPcModule, ArmModule, UnicodeMap };

struct FileSpec {
    int id;
    std::string_view name;
    std::size_t size;
    Form form;
    std::uint16_t codePage;
};

// unicode_map.866 is a Table: the adapter maker ships codepage.866 under that name too.
constexpr std::array<FileSpec, 30> Files = {{
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

using Bytes = std::vector<std::uint8_t>;

// splitmix64: a fixed algorithm rather than a std:: distribution, whose output may differ
// between standard libraries.
class Prng {
public:
    explicit Prng(std::uint64_t seed) : state_(seed) {}

    std::uint8_t NextByte() {
        state_ += 0x9E3779B97F4A7C15u;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return static_cast<std::uint8_t>((z ^ (z >> 31)) >> 56);
    }

    void Fill(Bytes& out, std::size_t from) {
        for (std::size_t i = from; i < out.size(); ++i) {
            out[i] = NextByte();
        }
    }

private:
    std::uint64_t state_;
};

enum class Endian { Little, Big };

void Put16(Bytes& out, std::size_t at, std::uint32_t value, Endian endian) {
    const auto hi = static_cast<std::uint8_t>(value >> 8);
    const auto lo = static_cast<std::uint8_t>(value);
    out[at] = endian == Endian::Big ? hi : lo;
    out[at + 1] = endian == Endian::Big ? lo : hi;
}

void Put32(Bytes& out, std::size_t at, std::uint32_t value, Endian endian) {
    const bool big = endian == Endian::Big;
    Put16(out, at + (big ? 2 : 0), value & 0xFFFFu, endian);
    Put16(out, at + (big ? 0 : 2), value >> 16, endian);
}

void PutText(Bytes& out, std::size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// Entries are keyed by the code page, not the id, so that codepage.866 and unicode_map.866 come
// out identical.
Bytes MakeTable(const FileSpec& file) {
    Bytes out(file.size);
    Put16(out, 0, 1, Endian::Little);
    Put16(out, 2, file.codePage, Endian::Little);
    Put32(out, 4, static_cast<std::uint32_t>(file.size - 8), Endian::Little);
    Prng(file.codePage).Fill(out, 8);
    return out;
}

Bytes MakeUnicodeMap(const FileSpec& file) {
    Bytes out(file.size);
    out[0] = 0x01;
    out[1] = 0x80;
    const std::string number = std::to_string(file.codePage);
    PutText(out, 2, number);
    Prng(static_cast<std::uint64_t>(file.id)).Fill(out, 2 + number.size());
    return out;
}

struct ModuleTarget {
    Endian endian;
    std::uint16_t machine;
    std::string_view modinfo;
};

constexpr ModuleTarget PowerPc = {Endian::Big, 20, "kernel_version=2.4.21-pre4"};
constexpr ModuleTarget Arm = {Endian::Little, 40, "vermagic=2.6.6-arm2 ARMv5 gcc-3.3"};

// An ELF32 relocatable object laid out as: ELF header, section header table, .modinfo,
// .shstrtab, then .data filled with pseudo-random bytes up to the file's exact size.
Bytes MakeModule(const FileSpec& file, const ModuleTarget& target) {
    constexpr std::size_t HeaderSize = 52;
    constexpr std::size_t SectionHeaderSize = 40;
    constexpr std::uint32_t SectionCount = 4;
    constexpr std::uint32_t ShtProgbits = 1;
    constexpr std::uint32_t ShtStrtab = 3;
    constexpr std::uint32_t ShfWrite = 1;
    constexpr std::uint32_t ShfAlloc = 2;
    // Names and their offsets in .shstrtab, which starts with the empty name.
    constexpr std::string_view Names{"\0.modinfo\0.shstrtab\0.data\0", 26};
    constexpr std::uint32_t ModinfoName = 1;
    constexpr std::uint32_t ShstrtabName = 10;
    constexpr std::uint32_t DataName = 20;

    const Endian e = target.endian;
    const std::size_t modinfoOffset = HeaderSize + SectionCount * SectionHeaderSize;
    const std::size_t modinfoSize = target.modinfo.size() + 1;
    const std::size_t namesOffset = modinfoOffset + modinfoSize;
    const std::size_t dataOffset = namesOffset + Names.size();

    Bytes out(file.size);
    PutText(out, 0, "\177ELF");
    out[4] = 1;  // ELFCLASS32
    out[5] = e == Endian::Big ? 2 : 1;
    out[6] = 1;            // EV_CURRENT
    Put16(out, 16, 1, e);  // ET_REL
    Put16(out, 18, target.machine, e);
    Put32(out, 20, 1, e);
    Put32(out, 32, static_cast<std::uint32_t>(HeaderSize), e);  // e_shoff
    Put16(out, 40, static_cast<std::uint32_t>(HeaderSize), e);
    Put16(out, 46, static_cast<std::uint32_t>(SectionHeaderSize), e);
    Put16(out, 48, SectionCount, e);
    Put16(out, 50, 2, e);  // e_shstrndx

    const auto section = [&](std::uint32_t index, std::uint32_t name, std::uint32_t type,
                             std::uint32_t flags, std::size_t offset, std::size_t size) {
        const std::size_t at = HeaderSize + index * SectionHeaderSize;
        Put32(out, at, name, e);
        Put32(out, at + 4, type, e);
        Put32(out, at + 8, flags, e);
        Put32(out, at + 16, static_cast<std::uint32_t>(offset), e);
        Put32(out, at + 20, static_cast<std::uint32_t>(size), e);
        Put32(out, at + 32, 1, e);  // sh_addralign
    };
    section(1, ModinfoName, ShtProgbits, ShfAlloc, modinfoOffset, modinfoSize);
    section(2, ShstrtabName, ShtStrtab, 0, namesOffset, Names.size());
    section(3, DataName, ShtProgbits, ShfWrite | ShfAlloc, dataOffset, file.size - dataOffset);

    PutText(out, modinfoOffset, target.modinfo);
    PutText(out, namesOffset, Names);
    Prng(static_cast<std::uint64_t>(file.id)).Fill(out, dataOffset);
    return out;
}

Bytes Make(const FileSpec& file) {
    switch (file.form) {
        case Form::Table:
            return MakeTable(file);
        case Form::PowerPcModule:
            return MakeModule(file, PowerPc);
        case Form::ArmModule:
            return MakeModule(file, Arm);
        case Form::UnicodeMap:
            return MakeUnicodeMap(file);
    }
    return {};
}

std::string Manifest() {
    std::string text =
        "# The code-page files the program embeds: id, file name, size in bytes.\n"
        "# Written by tools/make_codepages; the adapter maker's files have these sizes too.\n"
        "set(LUMISK_CODEPAGE_MANIFEST\n";
    for (const FileSpec& file : Files) {
        text += "    " + std::to_string(file.id) + ' ' + std::string(file.name) + ' ' +
                std::to_string(file.size) + '\n';
    }
    return text + ")\n";
}

bool Write(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        std::cerr << "make_codepages: cannot write " << path.string() << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_codepages DIRECTORY\n"
                     "Writes the 30 stand-in code-page files and manifest.cmake into DIRECTORY.\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::cerr << "make_codepages: cannot create " << directory.string() << ": "
                  << error.message() << '\n';
        return 1;
    }
    for (const FileSpec& file : Files) {
        const Bytes bytes = Make(file);
        const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (!Write(directory / file.name, view)) {
            return 1;
        }
    }
    return Write(directory / "manifest.cmake", Manifest()) ? 0 : 1;
}
