#include "drives/smb_share.h"

#include <fcntl.h>
#include <libsmbclient.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace lumisk {
namespace {

constexpr char OldestProtocol[] = "NT1";
constexpr char NewestProtocol[] = "SMB3";
constexpr char OldestSmb2Protocol[] = "SMB2_02";

struct Protocols {
    const char* oldest = OldestProtocol;
    const char* newest = NewestProtocol;
};

struct Credentials {
    std::string userName;
    std::string password;
};

void CopyCut(const std::string& text, char* buffer, int size) {
    if (size <= 0) {
        return;
    }
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// The workgroup is left as configured: the adapters ignore it, and asking would prompt.
void SupplyCredentials(SMBCCTX* context, const char* /*server*/, const char* /*share*/,
                       char* /*workgroup*/, int /*workgroupSize*/, char* userName, int userNameSize,
                       char* password, int passwordSize) {
    const auto* credentials = static_cast<const Credentials*>(smbc_getOptionUserData(context));
    CopyCut(credentials->userName, userName, userNameSize);
    CopyCut(credentials->password, password, passwordSize);
}

// The library writes its messages to standard output unless given somewhere else to put them.
void DiscardLog(void* /*unused*/, int /*level*/, const char* /*message*/) {}

struct ContextDeleter {
    void operator()(SMBCCTX* context) const { smbc_free_context(context, 1); }
};
using Context = std::unique_ptr<SMBCCTX, ContextDeleter>;

// A client ready for calls, or none and the errno value that says why.
struct ContextOrError {
    Context context;
    int error = 0;
};

// errno after a failed library call; EIO where it left none.
int LastError() {
    return errno != 0 ? errno : EIO;
}

// A client for a single call, so its credentials and connections end with it. Without
// NoAutoAnonymousLogin a refused password would quietly become a guest session. Adapters with
// older kernels speak only SMB1 (NT1), which the library refuses unless asked for it.
ContextOrError NewContext(Credentials& credentials, Protocols protocols = {}) {
    Context context(smbc_new_context());
    if (!context) {
        return {nullptr, LastError()};
    }
    smbc_setDebug(context.get(), 0);
    smbc_setLogCallback(context.get(), nullptr, DiscardLog);
    smbc_setOptionUserData(context.get(), &credentials);
    smbc_setFunctionAuthDataWithContext(context.get(), SupplyCredentials);
    smbc_setOptionNoAutoAnonymousLogin(context.get(), true);
    smbc_setOptionUseKerberos(context.get(), false);
    smbc_setOptionUseCCache(context.get(), false);
    errno = 0;
    if (smbc_init_context(context.get()) == nullptr) {
        return {nullptr, LastError()};
    }
    if (!smbc_setOptionProtocols(context.get(), protocols.oldest, protocols.newest)) {
        return {nullptr, EPROTONOSUPPORT};
    }
    return {std::move(context), 0};
}

// The URL parser decodes %XX and gives '@', ':', '?' and ';' meanings of their own, so every
// other byte of a name is escaped.
void AppendEscaped(std::string& url, const std::string& part, bool keepSlashes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (const char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || (keepSlashes && byte == '/');
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += Hex[byte >> 4];
            url += Hex[byte & 0xF];
        }
    }
}

std::string ShareUrl(const std::string& server, const std::string& share) {
    std::string url = "smb://";
    AppendEscaped(url, server, false);
    url += '/';
    AppendEscaped(url, share, false);
    return url;
}

int WriteWhole(SMBCCTX* context, SMBCFILE* file, std::span<const std::uint8_t> bytes) {
    const smbc_write_fn writeSome = smbc_getFunctionWrite(context);
    while (!bytes.empty()) {
        errno = 0;
        const ssize_t written = writeSome(context, file, bytes.data(), bytes.size());
        if (written <= 0) {
            return LastError();
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// OpenSmbShare() speaking only `protocols`.
int OpenShareWith(const std::string& server, const std::string& share, const std::string& userName,
                  const std::string& password, Protocols protocols) {
    Credentials credentials{userName, password};
    const auto [context, failure] = NewContext(credentials, protocols);
    if (!context) {
        return failure;
    }
    errno = 0;
    SMBCFILE* root =
        smbc_getFunctionOpendir(context.get())(context.get(), ShareUrl(server, share).c_str());
    if (root == nullptr) {
        return LastError();
    }
    smbc_getFunctionClosedir(context.get())(context.get(), root);
    return 0;
}

}  // namespace

int OpenSmbShare(const std::string& server, const std::string& share, const std::string& userName,
                 const std::string& password) {
    return OpenShareWith(server, share, userName, password, {});
}

bool SpeaksOnlySmb1(const std::string& server, const std::string& share,
                    const std::string& userName, const std::string& password) {
    return OpenShareWith(server, share, userName, password, {OldestProtocol, OldestProtocol}) ==
               0 &&
           OpenShareWith(server, share, userName, password, {OldestSmb2Protocol, NewestProtocol}) !=
               0;
}

int WriteSmbFile(const std::string& server, const std::string& share, const std::string& path,
                 std::span<const std::uint8_t> bytes) {
    Credentials guest;
    const auto [context, failure] = NewContext(guest);
    if (!context) {
        return failure;
    }
    std::string url = ShareUrl(server, share) + '/';
    AppendEscaped(url, path, true);

    errno = 0;
    SMBCFILE* file = smbc_getFunctionOpen(context.get())(context.get(), url.c_str(),
                                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file == nullptr) {
        return LastError();
    }
    int error = WriteWhole(context.get(), file, bytes);
    errno = 0;
    if (smbc_getFunctionClose(context.get())(context.get(), file) != 0 && error == 0) {
        error = LastError();
    }
    if (error != 0) {
        return error;
    }
    struct stat written {};
    errno = 0;
    if (smbc_getFunctionStat(context.get())(context.get(), url.c_str(), &written) != 0) {
        return LastError();
    }
    return written.st_size == static_cast<off_t>(bytes.size()) ? 0 : EIO;
}

}  // namespace lumisk
