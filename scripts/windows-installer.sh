#!/usr/bin/env bash
# make windows-installer: the release of the 64-bit Windows build. In OUTPUT (default
# build/windows/package/): lumisk.exe and lumisk-cli.exe stripped, their debugging data beside them
# (NAME.exe.debug, which a debugger finds through the programs' debug link), and the installer
# lumisk-VERSION-x64.msi. Signed, programs and installer, when LUMISK_SIGN_CERT and
# LUMISK_SIGN_KEY name a code-signing certificate (chain) and its key (PEM or DER), time-stamped
# when LUMISK_SIGN_TIMESTAMP names a time-stamp server; unsigned otherwise.
#   windows-installer.sh [BUILD [OUTPUT]]      BUILD: the Windows build (default build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
output=${2:-$build/package}
version=$(sed -n 's/^ *"FileVersion": "\(.*\)",*$/\1/p' resources/version.json | sed 's/, /./g')
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir -p "$output"

sign() {
    if [[ -z ${LUMISK_SIGN_CERT:-} || -z ${LUMISK_SIGN_KEY:-} ]]; then
        return
    fi
    local options=(-h sha256 -certs "$LUMISK_SIGN_CERT" -key "$LUMISK_SIGN_KEY" -n Lumisk)
    if [[ -n ${LUMISK_SIGN_TIMESTAMP:-} ]]; then
        options+=(-ts "$LUMISK_SIGN_TIMESTAMP")
    fi
    osslsigncode sign "${options[@]}" -in "$1" -out "$1.signed" >/dev/null
    mv "$1.signed" "$1"
}

for program in app/lumisk cli/lumisk-cli; do
    name=${program#*/}.exe
    x86_64-w64-mingw32-objcopy --only-keep-debug "$build/$program.exe" "$output/$name.debug"
    x86_64-w64-mingw32-objcopy --strip-all --add-gnu-debuglink="$output/$name.debug" \
        "$build/$program.exe" "$staging/$name"
    sign "$staging/$name"
    cp "$staging/$name" "$output/$name"
done

# wixl takes the files it installs from the folder it runs in.
cp resources/icon128.ico "$staging/lumisk.ico"
(cd "$staging" && wixl -a x64 -D Version="$version" -o lumisk.msi "$OLDPWD/resources/windows/lumisk.wxs")
# lumisk-cli.exe's folder on the system PATH, which wixl cannot write: the Environment table's
# row, as WiX writes it for a part appended to PATH and taken out again on removal, and the
# standard actions that apply it, at their usual places.
msibuild "$staging/lumisk.msi" \
    -q 'CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)' \
    -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('Path', '=-*PATH', '[~];[INSTALLDIR]', 'CommandLine')" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
    -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)"
sign "$staging/lumisk.msi"
cp "$staging/lumisk.msi" "$output/lumisk-$version-x64.msi"
echo "$output/lumisk-$version-x64.msi"
