#!/usr/bin/env bash
# Builds the Debian package from a build tree, runs the validators a distribution would, and
# checks the programs and the completion of an extracted copy.
#     package_test.sh BUILD_DIR VERSION
set -euo pipefail
build_dir=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
expect() {  # WHAT ACTUAL EXPECTED
    [[ $2 == "$3" ]] || { echo "$1: \"$2\", not \"$3\""; exit 1; }
}

cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/lumisk_"$version"_*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"

usr=$root/usr
for file in bin/lumisk bin/lumisk-cli share/applications/com.varnok.lumisk.desktop \
    share/icons/hicolor/32x32/apps/com.varnok.lumisk.png \
    share/icons/hicolor/128x128/apps/com.varnok.lumisk.png \
    share/metainfo/com.varnok.lumisk.metainfo.xml share/man/man1/lumisk.1.gz \
    share/man/man1/lumisk-cli.1.gz share/bash-completion/completions/lumisk-cli \
    share/doc/lumisk/copyright share/doc/lumisk/changelog.gz; do
    [[ -f $usr/$file ]] || { echo "not in the package: /usr/$file"; exit 1; }
done
if find "$root" -name 'lumisk-sim*' | grep .; then
    echo "the simulator is not for users"; exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsmbclient libglib2.0; do
    [[ $depends == *"$library"* ]] || { echo "$library is not among the dependencies"; exit 1; }
done
# The command line starts without the Samba client, GIO and Qt; it loads the SMB module, when a
# command needs it, from its run path.
if ldd "$usr/bin/lumisk-cli" | grep -E 'libsmbclient|libgio|libQt'; then
    echo "lumisk-cli loads these at start-up"; exit 1
fi
runpath=$(readelf -d "$usr/bin/lumisk-cli" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[[ -f ${runpath/\$ORIGIN/$usr/bin}/lumisk-smb.so ]] ||
    { echo "no lumisk-smb.so where lumisk-cli looks for it: \"$runpath\""; exit 1; }

desktop-file-validate "$usr/share/applications/com.varnok.lumisk.desktop"
appstreamcli validate --no-net --pedantic "$usr/share/metainfo/com.varnok.lumisk.metainfo.xml"
lintian --fail-on error "$deb"

# Without a display: the window must answer --version before its toolkit starts.
expect "lumisk --version" \
    "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/lumisk" --version)" \
    "lumisk $version"
expect "lumisk-cli --version" "$("$usr/bin/lumisk-cli" --version)" "lumisk-cli $version"

# Completion of commands and of a command's options, as bash asks for it after a Tab.
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_TYPE=9
             _lumisk_cli; echo "${COMPREPLY[*]}"' _ "$usr/share/bash-completion/completions/lumisk-cli" \
        "$usr/bin/lumisk-cli" "$@"
}
expect "commands" "$(complete_words se)" \
    "search set-ip set-dhcp set-workgroup set-codepage set-access-mode"
expect "options of search" "$(complete_words search --)" "--json --interface --help"
expect "code pages" "$(complete_words language 192.0.2.20 93)" "936 932"
expect "operand after an option's value" "$(complete_words set-ip --ip 192.0.2.5 "")" ""
expect "adapters on the first Tab" "$(complete_words shares "")" ""
echo "package $deb checked"
