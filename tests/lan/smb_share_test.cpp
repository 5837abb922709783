// OpenSmbShare and WriteSmbFile in the workstation against smbd in the LAN, reached by an
// adapter's name at the adapter's address.

#include <netdb.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "drives/smb_share.h"
#include "tests/lan/lan_testbed.h"
#include "tests/lan/samba_server.h"

namespace lumisk::lan {
namespace {

constexpr char Server[] = "NAS-Office";
constexpr char ServerIp[] = "192.0.2.20";
constexpr char GuestShare[] = "HDD_a";
constexpr char ProtectedShare[] = "HDD_b";
constexpr char User[] = "smbuser";
constexpr char Password[] = "pw";

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + seed + i / 251);
    }
    return bytes;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The first IPv4 address the resolver gives for `name`, or empty.
std::string Resolve(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) {
        return {};
    }
    char address[NI_MAXHOST] = {};
    getnameinfo(found->ai_addr, found->ai_addrlen, address, sizeof address, nullptr, 0,
                NI_NUMERICHOST);
    freeaddrinfo(found);
    return address;
}

class SmbShareOnLan : public LanTest {
protected:
    virtual SmbDialects Dialects() const { return SmbDialects::Default; }

    void SetUp() override {
        LanTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        LUMISK_REQUIRE_SAMBA();
        ASSERT_TRUE(client_.Ready());
        // The adapter puts its address on the LAN, where smbd answers on every address.
        ASSERT_GT(testbed_.StartSimulator({"--name", Server, "--ip", ServerIp, "--no-web"}), 0);
        ASSERT_TRUE(server_.Start(
            testbed_, {{GuestShare, true, "", ""}, {ProtectedShare, false, User, Password}},
            {Server}, Dialects()));
        testbed_.SetWorkstationHosts({{Server, ServerIp}});
        testbed_.EnterWorkstation();
    }

    void TearDown() override {
        testbed_.LeaveWorkstation();
        server_.Stop();
        LanTest::TearDown();
    }

    std::string OnServer(const std::string& share, const std::string& path) const {
        return server_.Directory(share) + "/" + path;
    }

    SambaClientHome client_;
    SambaServer server_;
};

TEST_F(SmbShareOnLan, AdapterNameResolvesOnlyInTheWorkstation) {
    const std::filesystem::path directory = std::filesystem::current_path();
    EXPECT_EQ(Resolve(Server), ServerIp);
    const ProgramResult program = testbed_.RunInWorkstation({"getent", "hosts", Server});
    EXPECT_EQ(program.out.substr(0, program.out.find(' ')), ServerIp) << program.err;
    // Looking the name up out here would ask the host's DNS server, so only the file is read.
    testbed_.LeaveWorkstation();
    EXPECT_EQ(ReadWhole("/etc/hosts").find(Server), std::string::npos);
    EXPECT_EQ(std::filesystem::current_path(), directory);
}

TEST_F(SmbShareOnLan, GuestShareOpensWithoutCredentials) {
    EXPECT_EQ(OpenSmbShare(Server, GuestShare, "", ""), 0) << server_.Log();
}

TEST_F(SmbShareOnLan, ProtectedShareOpensOnlyWithItsPassword) {
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, "", ""), 0);
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, User, "wrong"), 0);
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, "stranger", Password), 0);
    EXPECT_EQ(OpenSmbShare(Server, ProtectedShare, User, Password), 0) << server_.Log();
}

TEST_F(SmbShareOnLan, CredentialsDoNotCarryOverToTheNextCall) {
    ASSERT_EQ(OpenSmbShare(Server, ProtectedShare, User, Password), 0) << server_.Log();
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, "", ""), 0);
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, User, "wrong"), 0);
}

TEST_F(SmbShareOnLan, UnknownShareOrServerFails) {
    EXPECT_NE(OpenSmbShare(Server, "HDD_z", "", ""), 0);
    EXPECT_NE(OpenSmbShare("NAS-Nowhere", GuestShare, "", ""), 0);
}

TEST_F(SmbShareOnLan, WrittenFileHasTheBytes) {
    std::filesystem::create_directory(OnServer(GuestShare, ".codepages"));
    const std::vector<std::uint8_t> bytes = Pattern(300000, 3);
    ASSERT_EQ(WriteSmbFile(Server, GuestShare, ".codepages/cp950.bin", bytes), 0) << server_.Log();
    EXPECT_EQ(ReadWhole(OnServer(GuestShare, ".codepages/cp950.bin")), AsText(bytes));
}

TEST_F(SmbShareOnLan, EmptyFileIsWritten) {
    ASSERT_EQ(WriteSmbFile(Server, GuestShare, "empty", {}), 0) << server_.Log();
    EXPECT_TRUE(std::filesystem::exists(OnServer(GuestShare, "empty")));
    EXPECT_EQ(std::filesystem::file_size(OnServer(GuestShare, "empty")), 0u);
}

TEST_F(SmbShareOnLan, ExistingFileIsReplacedNotAppended) {
    ASSERT_EQ(WriteSmbFile(Server, GuestShare, "file", Pattern(5000, 1)), 0) << server_.Log();
    const std::vector<std::uint8_t> shorter = Pattern(10, 2);
    ASSERT_EQ(WriteSmbFile(Server, GuestShare, "file", shorter), 0);
    EXPECT_EQ(ReadWhole(OnServer(GuestShare, "file")), AsText(shorter));
}

TEST_F(SmbShareOnLan, WritingIntoAMissingDirectoryFails) {
    EXPECT_NE(WriteSmbFile(Server, GuestShare, "missing/file", Pattern(10, 0)), 0);
    EXPECT_FALSE(std::filesystem::exists(OnServer(GuestShare, "missing")));
}

TEST_F(SmbShareOnLan, GuestCannotWriteToAProtectedShare) {
    EXPECT_NE(WriteSmbFile(Server, ProtectedShare, "file", Pattern(10, 0)), 0);
    EXPECT_FALSE(std::filesystem::exists(OnServer(ProtectedShare, "file")));
}

// An adapter with an old kernel: the server speaks SMB1 only, the client's configuration is
// Debian's default, which asks for SMB2 at least.
class Smb1AdapterOnLan : public SmbShareOnLan {
protected:
    SmbDialects Dialects() const override { return SmbDialects::OnlySmb1; }
};

TEST_F(Smb1AdapterOnLan, SharesOpenAndTakeFiles) {
    EXPECT_EQ(OpenSmbShare(Server, GuestShare, "", ""), 0) << server_.Log();
    EXPECT_EQ(OpenSmbShare(Server, ProtectedShare, User, Password), 0) << server_.Log();
    EXPECT_NE(OpenSmbShare(Server, ProtectedShare, User, "wrong"), 0);
    const std::vector<std::uint8_t> bytes = Pattern(70000, 5);
    ASSERT_EQ(WriteSmbFile(Server, GuestShare, "file", bytes), 0) << server_.Log();
    EXPECT_EQ(ReadWhole(OnServer(GuestShare, "file")), AsText(bytes));
}

}  // namespace
}  // namespace lumisk::lan
