#!/usr/bin/env bash
# The window on this display, in a workstation namespace whose LAN holds three simulated
# adapters: a fixed address, a DHCP client, and one on another subnet. Everything is taken
# down when the window closes. Needs root (network namespaces).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/default
testbed=$root/tests/lan/testbed.sh
name=demo$$

if [[ $(id -u) -ne 0 ]]; then
    echo "make demo needs root for its network namespaces: run it with sudo" >&2
    exit 1
fi

simulator=
ready=$(mktemp -u /tmp/lumisk-demo-ready.XXXXXX)
cleanup() {
    rm -f "$ready"
    if [[ -n $simulator ]]; then
        kill "$simulator" 2>/dev/null || true
        wait "$simulator" 2>/dev/null || true
    fi
    "$testbed" down "$name"
}
trap cleanup EXIT

"$testbed" up "$name"
read -r _ lan_veth < <("$testbed" veth "$name")

ip netns exec "lumisk-lan-$name" "$build/sim/lumisk-sim" --interface "$lan_veth" --ready-file "$ready" \
    --adapter --name NAS-Office --ip 192.0.2.20 --gateway 192.0.2.254 --shares HDD_a:HDD_b \
    --adapter --name NAS-Lab --ip 192.0.2.21 --gateway 192.0.2.254 --dhcp --shares HDD_1 \
    --adapter --name NAS-Branch --ip 198.51.100.30 --gateway 198.51.100.1 --shares HDD_a &
simulator=$!
for _ in $(seq 100); do
    [[ -e $ready ]] && break
    sleep 0.1
done

ip netns exec "lumisk-ws-$name" "$build/app/lumisk"
