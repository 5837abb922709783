#pragma once
// Writing a file on an adapter's share by its network path, \\host\share\dir\file. When the user
// has the share mapped, under the adapter's name or address, the file goes through that mapping,
// with the credentials it was made with; else through the system's file system on Windows, and
// an SMB session as guest on Linux. No credentials of the program's own.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace lumisk {

class ShareFileWriter {
public:
    virtual ~ShareFileWriter() = default;
    // Creates the file or cuts it to length zero, writes all of `bytes` and closes it: 0 when
    // every step succeeded and the file exists afterwards, else an error code. Directories are
    // never created.
    virtual int WriteFile(const std::string& networkPath, std::span<const std::uint8_t> bytes) = 0;
    // Why the last failed write failed, and what to do; empty when the system does not say.
    virtual std::string FailureReason() { return {}; }
};

std::unique_ptr<ShareFileWriter> MakeSystemShareFiles();

}  // namespace lumisk
