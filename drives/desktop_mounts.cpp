#include "drives/desktop_mounts.h"

#include <gio/gio.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace lumisk {
namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using Object = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

struct TextFree {
    void operator()(char* text) const { g_free(text); }
};
using Text = std::unique_ptr<char, TextFree>;

int ErrnoOf(const GError& error) {
    if (error.domain != G_IO_ERROR) {
        return EIO;
    }
    switch (error.code) {
        case G_IO_ERROR_PERMISSION_DENIED:
        case G_IO_ERROR_FAILED_HANDLED:  // the password request was turned down
            return EACCES;
        case G_IO_ERROR_BUSY:
            return EBUSY;
        case G_IO_ERROR_NOT_FOUND:
        case G_IO_ERROR_NOT_MOUNTED:
            return ENOENT;
        case G_IO_ERROR_NOT_SUPPORTED:
            return ENOTSUP;
        case G_IO_ERROR_TIMED_OUT:
            return ETIMEDOUT;
        default:
            return EIO;
    }
}

MountFailure FailureOf(const Error& error) {
    // GIO would say "Password dialog cancelled", of a dialog nobody saw: the answer was ours.
    if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_FAILED_HANDLED)) {
        return {EACCES, "the share did not take the user name and password given"};
    }
    return {ErrnoOf(*error), error->message};
}

Object<GFile> ShareFile(const std::string& server, const std::string& share,
                        const std::string& path = {}) {
    const Text escapedServer(g_uri_escape_string(server.c_str(), nullptr, FALSE));
    const Text escapedShare(g_uri_escape_string(share.c_str(), nullptr, FALSE));
    std::string uri = std::string("smb://") + escapedServer.get() + "/" + escapedShare.get();
    if (!path.empty()) {
        const Text escapedPath(
            g_uri_escape_string(path.c_str(), G_URI_RESERVED_CHARS_ALLOWED_IN_PATH, FALSE));
        uri += std::string("/") + escapedPath.get();
    }
    return Object<GFile>(g_file_new_for_uri(uri.c_str()));
}

// After its time is up an operation is cancelled and given this long to end.
constexpr std::chrono::seconds CancelGrace{1};

MountFailure Unanswered(std::chrono::milliseconds limit) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limit).count();
    return {ETIMEDOUT, "GVfs, the desktop's file service, did not answer within " +
                           std::to_string(seconds) + " s"};
}

// While it lives, a main context of its own is the thread's default: what GIO sets up meanwhile
// (the session bus's connection among it) answers there and never in the window's event loop.
class OwnMainContext {
public:
    OwnMainContext() : context_(g_main_context_new()) {
        g_main_context_push_thread_default(context_);
    }
    ~OwnMainContext() {
        g_main_context_pop_thread_default(context_);
        g_main_context_unref(context_);
    }
    OwnMainContext(const OwnMainContext&) = delete;
    OwnMainContext& operator=(const OwnMainContext&) = delete;

    GMainContext* Get() const { return context_; }

    // Dispatches what is due without waiting, once the call is over: GIO frees some of its own
    // state there (its D-Bus proxies' signal subscriptions), which nothing would run later.
    void RunPending() const {
        while (g_main_context_iteration(context_, FALSE)) {
        }
    }

private:
    GMainContext* context_;
};

// Runs one asynchronous GIO operation to its end or its time limit, on a main context of its own,
// so neither the window's event loop nor any other source runs meanwhile.
class Completion {
public:
    explicit Completion(std::chrono::milliseconds limit)
        : cancellable_(g_cancellable_new()), limit_(limit) {}
    ~Completion() {
        if (result_ != nullptr) {
            g_object_unref(result_);
        }
        g_object_unref(cancellable_);
    }
    Completion(const Completion&) = delete;
    Completion& operator=(const Completion&) = delete;

    GCancellable* Cancellable() const { return cancellable_; }

    static void Done(GObject* /*source*/, GAsyncResult* result, gpointer self) {
        static_cast<Completion*>(self)->result_ = G_ASYNC_RESULT(g_object_ref(result));
    }

    // The operation's result, or null when its time was up first. The operation is then
    // cancelled and given a moment to end; a result that comes later still is never dispatched,
    // as the context is not run again.
    GAsyncResult* Wait() {
        if (!RunFor(limit_)) {
            g_cancellable_cancel(cancellable_);
            RunFor(CancelGrace);
            return nullptr;
        }
        context_.RunPending();
        return result_;
    }

private:
    // Runs the context until the result is there (true) or `time` is up (false).
    bool RunFor(std::chrono::milliseconds time) {
        bool timeUp = false;
        GSource* timer = g_timeout_source_new(static_cast<guint>(time.count()));
        g_source_set_callback(
            timer,
            [](gpointer flag) {
                *static_cast<bool*>(flag) = true;
                return G_SOURCE_REMOVE;
            },
            &timeUp, nullptr);
        g_source_attach(timer, context_.Get());
        while (result_ == nullptr && !timeUp) {
            g_main_context_iteration(context_.Get(), TRUE);
        }
        g_source_destroy(timer);
        g_source_unref(timer);
        return result_ != nullptr && !timeUp;
    }

    const OwnMainContext context_;
    GCancellable* cancellable_;
    const std::chrono::milliseconds limit_;
    GAsyncResult* result_ = nullptr;
};

struct Credentials {
    std::string userName;
    std::string password;
    int asked = 0;
};

// GVfs asks again after a refusal; the second request is turned down, so a refused password
// ends the mount instead of trying anything else.
void AnswerPassword(GMountOperation* operation, const char* /*message*/,
                    const char* /*defaultUser*/, const char* defaultDomain, GAskPasswordFlags flags,
                    gpointer data) {
    auto* credentials = static_cast<Credentials*>(data);
    const bool anonymous = credentials->userName.empty() && credentials->password.empty();
    if (credentials->asked++ > 0 ||
        (anonymous && (flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED) == 0)) {
        g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
        return;
    }
    if (anonymous) {
        g_mount_operation_set_anonymous(operation, TRUE);
    } else {
        g_mount_operation_set_username(operation, credentials->userName.c_str());
        g_mount_operation_set_password(operation, credentials->password.c_str());
        g_mount_operation_set_domain(operation, defaultDomain != nullptr ? defaultDomain : "");
    }
    g_mount_operation_set_password_save(operation, G_PASSWORD_SAVE_NEVER);
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_HANDLED);
}

// Questions and the list of processes holding files open are for a person to answer: the
// answer is no, so an unmount in use fails instead of forcing.
void DeclineQuestion(GMountOperation* operation, const char* /*message*/,
                     const char* const* /*choices*/, gpointer /*data*/) {
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
}

void DeclineProcesses(GMountOperation* operation, const char* /*message*/, GArray* /*processes*/,
                      const char* const* /*choices*/, gpointer /*data*/) {
    g_mount_operation_reply(operation, G_MOUNT_OPERATION_ABORTED);
}

Object<GMountOperation> NewOperation(Credentials* credentials) {
    Object<GMountOperation> operation(g_mount_operation_new());
    if (credentials != nullptr) {
        g_signal_connect(operation.get(), "ask-password", G_CALLBACK(AnswerPassword), credentials);
    }
    g_signal_connect(operation.get(), "ask-question", G_CALLBACK(DeclineQuestion), nullptr);
    g_signal_connect(operation.get(), "show-processes", G_CALLBACK(DeclineProcesses), nullptr);
    return operation;
}

// Cancels a synchronous call at its time limit, from a thread of its own, unless the call ends
// first.
class CancelAtLimit {
public:
    CancelAtLimit(GCancellable* cancellable, std::chrono::milliseconds limit)
        : watch_([this, cancellable, limit] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return callEnded_; })) {
                  g_cancellable_cancel(cancellable);
              }
          }) {}
    ~CancelAtLimit() {
        {
            const std::lock_guard lock(mutex_);
            callEnded_ = true;
        }
        ended_.notify_all();
        watch_.join();
    }
    CancelAtLimit(const CancelAtLimit&) = delete;
    CancelAtLimit& operator=(const CancelAtLimit&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool callEnded_ = false;
    std::thread watch_;
};

struct FoundMount {
    Object<GMount> mount;  // none when the file is on no mount
    std::optional<MountFailure> unanswered;
};

// Synchronous, as GVfs's asynchronous lookup answers a mount it knows already through the
// process's default main context, which nothing runs while the window's thread waits here.
FoundMount FindMount(GFile* file, std::chrono::milliseconds limit) {
    const OwnMainContext context;
    const Object<GCancellable> cancellable(g_cancellable_new());
    GError* raw = nullptr;
    Object<GMount> mount;
    {
        const CancelAtLimit atLimit(cancellable.get(), limit);
        mount.reset(g_file_find_enclosing_mount(file, cancellable.get(), &raw));
    }
    context.RunPending();
    const Error error(raw);
    if (error && g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
        return {nullptr, Unanswered(limit)};
    }
    return {std::move(mount), std::nullopt};
}

}  // namespace

std::optional<MountFailure> MountSmbShare(const std::string& server, const std::string& share,
                                          const std::string& userName, const std::string& password,
                                          std::chrono::milliseconds limit) {
    const Object<GFile> file = ShareFile(server, share);
    Credentials credentials{userName, password};
    const Object<GMountOperation> operation = NewOperation(&credentials);
    Completion completion(limit);
    g_file_mount_enclosing_volume(file.get(), G_MOUNT_MOUNT_NONE, operation.get(),
                                  completion.Cancellable(), Completion::Done, &completion);
    GAsyncResult* result = completion.Wait();
    if (result == nullptr) {
        // GVfs may keep the operation and ask it later: not with these credentials, which go.
        g_signal_handlers_disconnect_by_data(operation.get(), &credentials);
        return Unanswered(limit);
    }
    GError* raw = nullptr;
    g_file_mount_enclosing_volume_finish(file.get(), result, &raw);
    const Error error(raw);
    if (error && !g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_ALREADY_MOUNTED)) {
        return FailureOf(error);
    }
    return std::nullopt;
}

std::optional<MountFailure> UnmountSmbShare(const std::string& server, const std::string& share,
                                            std::chrono::milliseconds limit) {
    const FoundMount found = FindMount(ShareFile(server, share).get(), limit);
    if (found.unanswered) {
        return found.unanswered;
    }
    if (!found.mount) {
        return MountFailure{ENOENT, "the share is not mounted"};
    }
    const Object<GMountOperation> operation = NewOperation(nullptr);
    Completion completion(limit);
    g_mount_unmount_with_operation(found.mount.get(), G_MOUNT_UNMOUNT_NONE, operation.get(),
                                   completion.Cancellable(), Completion::Done, &completion);
    GAsyncResult* result = completion.Wait();
    if (result == nullptr) {
        return Unanswered(limit);
    }
    GError* raw = nullptr;
    g_mount_unmount_with_operation_finish(found.mount.get(), result, &raw);
    const Error error(raw);
    if (error) {
        return FailureOf(error);
    }
    return std::nullopt;
}

MountState SmbShareMount(const std::string& server, const std::string& share,
                         std::chrono::milliseconds limit) {
    const FoundMount found = FindMount(ShareFile(server, share).get(), limit);
    if (!found.mount) {
        return {false, std::nullopt, found.unanswered};
    }
    const Object<GFile> root(g_mount_get_root(found.mount.get()));
    const Text path(g_file_get_path(root.get()));
    if (!path) {
        return {true, std::nullopt, std::nullopt};
    }
    return {true, std::string(path.get()), std::nullopt};
}

std::optional<MountFailure> WriteFileOnMount(const std::string& server, const std::string& share,
                                             const std::string& path,
                                             std::span<const std::uint8_t> bytes) {
    const Object<GFile> file = ShareFile(server, share, path);
    GError* raw = nullptr;
    g_file_replace_contents(file.get(), reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                            nullptr, FALSE, G_FILE_CREATE_NONE, nullptr, nullptr, &raw);
    if (const Error error(raw); error) {
        return FailureOf(error);
    }
    const Object<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_SIZE,
                                                   G_FILE_QUERY_INFO_NONE, nullptr, &raw));
    if (const Error error(raw); error) {
        return FailureOf(error);
    }
    if (g_file_info_get_size(info.get()) != static_cast<goffset>(bytes.size())) {
        return MountFailure{EIO, "the file on the share has another size than was written"};
    }
    return std::nullopt;
}

}  // namespace lumisk
