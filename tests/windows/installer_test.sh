#!/usr/bin/env bash
# make windows-installer's output: unsigned without a certificate, signed (programs and installer)
# with one made here, which osslsigncode verifies; and under Wine, in a prefix of its own copied
# from WINEPREFIX, a silent installation puts the programs, the Start-menu entry, the PATH entry
# and the uninstaller entry where Windows puts them, and a silent removal takes all of them away;
# on Windows XP the installer refuses.
#   installer_test.sh BUILD      the Windows build; run by ctest under scripts/windows-test.sh
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^ *"FileVersion": "\(.*\)",*$/\1/p' "$source_dir/resources/version.json" |
    sed 's/, /./g')
work=$(mktemp -d "$build/installer-test.XXXXXX")
template=$WINEPREFIX
# Shortcuts stay inside the prefix: no menu entries of Wine's on this machine's desktop.
export WINEPREFIX=$work/wine WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
check() {
    if "${@:2}" >/dev/null 2>&1; then
        echo "ok: $1"
    else
        echo "FAILED: $1"
        failures=$((failures + 1))
    fi
}
wine() { "$WINELOADER" "$@" 2>/dev/null; }
registry() { wine reg query "$@" /s || true; }
windows_path() { echo "Z:${1//\//\\}"; }

package=$source_dir/scripts/windows-installer.sh
"$package" "$build" "$work/unsigned" >/dev/null
check "unsigned without a certificate" \
    bash -c "! osslsigncode extract-signature -in '$work/unsigned/lumisk.exe' -out '$work/none'"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Lumisk-test \
    -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
LUMISK_SIGN_CERT=$work/cert.pem LUMISK_SIGN_KEY=$work/key.pem "$package" "$build" "$work/signed" \
    >/dev/null
msi=$work/signed/lumisk-$version-x64.msi
for file in "$work/signed/lumisk.exe" "$work/signed/lumisk-cli.exe" "$msi"; do
    check "signed: ${file##*/}" osslsigncode verify -CAfile "$work/cert.pem" -in "$file"
done

# Hard links cost nothing, but the registry, which Wine rewrites in place, is a copy of its own.
cp -al "$template" "$WINEPREFIX"
cp --remove-destination "$template"/*.reg "$WINEPREFIX"/
drive=$WINEPREFIX/drive_c
installed=$drive/Program\ Files/Lumisk
# A per-machine installation's Start-menu entry is all users'; Wine's msi puts it in the user's
# Start menu whatever ALLUSERS says (its own FIXME in set_installer_properties).
start_menu=Microsoft/Windows/Start\ Menu/Programs/Lumisk.lnk
entries=("$drive/ProgramData/$start_menu" "$drive/users/$(id -un)/AppData/Roaming/$start_menu")
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'

check "silent installation" wine msiexec /i "$(windows_path "$msi")" /qn \
    /l*v "$(windows_path "$work/install.log")"
check "programs in Program Files" test -f "$installed/lumisk.exe" -a -f "$installed/lumisk-cli.exe"
check "Start-menu entry" test -f "${entries[0]}" -o -f "${entries[1]}"
check "firewall rules added, in the log" grep -q "Action start.*AllowCommandLine" "$work/install.log"
check "uninstaller entry" grep -q "DisplayName.*Lumisk" <<<"$(registry "$uninstall")"
check "publisher" grep -qE "Publisher\s+REG_SZ\s+Varnok" <<<"$(registry "$uninstall")"
check "version" grep -qE "DisplayVersion\s+REG_SZ\s+${version%.*}" <<<"$(registry "$uninstall")"
check "folder on PATH" grep -qi 'Program Files\\Lumisk' <<<"$(registry "$environment")"
check "lumisk-cli --version by name" \
    grep -q "^lumisk-cli $version" <<<"$(wine cmd /c lumisk-cli --version | tr -d '\r')"

check "silent removal" wine msiexec /x "$(windows_path "$msi")" /qn \
    /l*v "$(windows_path "$work/removal.log")"
check "programs removed" test ! -e "$installed"
check "Start-menu entry removed" test ! -e "${entries[0]}" -a ! -e "${entries[1]}"
check "firewall rules removed, in the log" grep -q "Action start.*ForgetCommandLine" "$work/removal.log"
check "uninstaller entry removed" bash -c "! grep -q Lumisk <<<'$(registry "$uninstall")'"
check "PATH restored" bash -c "! grep -qi 'Lumisk' <<<'$(registry "$environment")'"
check "no registry key left" bash -c "! grep -qi 'Lumisk' <<<'$(registry 'HKLM\Software\Varnok')'"

wine reg add 'HKCU\Software\Wine' /v Version /d winxp64 /f >/dev/null
check "refused on Windows XP" \
    bash -c "! $(printf %q "$WINELOADER") msiexec /i '$(windows_path "$msi")' /qn 2>/dev/null"
# Wine's msi leaves the refusal's message out of the log, so it is read from the package.
check "saying why" grep -q "needs a 64-bit Windows Vista" <<<"$(msiinfo export "$msi" LaunchCondition)"
check "nothing installed on Windows XP" test ! -e "$installed"

echo "$failures failed"
((failures == 0))
