#!/usr/bin/env bash
# Installs the Debian packages Lumisk needs to build and test, only those that are missing.
#   install-deps.sh           for the Linux build and its tests
#   install-deps.sh windows   also for the 64-bit Windows build and its tests under 64-bit Wine
#   install-deps.sh windows32 also the compiler of the 32-bit Windows build (which nothing runs)
set -euo pipefail

packages=(
    make cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev   # libFuzzer and the sanitizer runtimes
    libgtest-dev libgmock-dev
    iproute2                   # network namespaces of the LAN testbed
    qt6-base-dev               # the window's toolkit
    fonts-liberation           # Arial's metrics for the dialog layouts
    libsmbclient-dev           # SMB sessions with the adapters' shares
    samba                      # a real SMB server for the drive-mapping tests
    libglib2.0-dev             # GIO: mapped drives are desktop mounts through GVfs
    gvfs-backends gvfs-fuse    # GVfs's SMB backend and its FUSE bridge (the mounts' local paths)
    dbus libglib2.0-bin        # a desktop login's session bus in the tests, and gio to inspect it
    at-spi2-core python3-pyatspi  # the accessibility bus and a screen reader's client of it
    xvfb                       # a virtual X display for the window on that bus
    procps
    dpkg-dev file              # make package: CPack's shared-library scan (dpkg-shlibdeps)
    desktop-file-utils appstream lintian  # the package test's validators
)
case ${1:-} in
    windows)
        packages+=(
            g++-mingw-w64-x86-64-posix  # 64-bit Windows; std::thread needs the posix model
            googletest                  # GoogleTest's sources, built for Windows with the tests
            # Wine's 64-bit loader alone runs the tests: wine32 is left out, as some machines
            # cannot run 32-bit programs.
            wine wine64
            xvfb                        # a virtual X display for the window under Wine
            fonts-wine                  # Wine's own fonts: title-bar buttons (Marlett), message boxes
            wixl msitools               # the installer (an MSI) and its tables
            osslsigncode openssl        # signing it, and the test's own certificate
        )
        ;;
    windows32)
        packages+=(g++-mingw-w64-i686-posix googletest)
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root: apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
