// Leaks a GObject on purpose. Run under the sanitizers, it must end with their leak report: a run
// that reports nothing would hide the leaks our own code makes through GLib.

#include <gio/gio.h>

int main() {
    GCancellable* leaked = g_cancellable_new();
    (void)leaked;
    return 0;
}
