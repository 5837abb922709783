#!/usr/bin/env bash
# A two-namespace LAN for the integration tests: a workstation and the LAN the adapters live on,
# joined by a veth pair. Only documentation addresses and the group 224.0.0.1 are used.
#
#   testbed.sh up NAME     make lumisk-ws-NAME and lumisk-lan-NAME (NAME: letters, digits, '-')
#   testbed.sh down NAME   delete both and their files in /etc/netns; nothing to delete is no error
#   testbed.sh veth NAME   print the names of the workstation and the LAN end of the veth pair
set -euo pipefail

readonly WORKSTATION_ADDRESS=192.0.2.1/24
readonly LAN_ADDRESS=192.0.2.254/24
readonly GROUP_ROUTE=224.0.0.0/4
readonly ADAPTER_SUBNETS=(198.51.100.0/24 203.0.113.0/24)
# Interface names are at most 15 characters: "lw" or "ll", then at most 13 of NAME.
readonly MAX_NAME_IN_VETH=13

usage() {
    echo "usage: $0 up|down|veth NAME" >&2
    exit 2
}

(($# == 2)) || usage
action=$1
name=$2
[[ $name =~ ^[A-Za-z0-9-]+$ ]] || usage

workstation=lumisk-ws-$name
lan=lumisk-lan-$name
# The end of NAME, where the parts that tell runs apart are.
short=$name
((${#name} <= MAX_NAME_IN_VETH)) || short=${name: -MAX_NAME_IN_VETH}
workstation_veth=lw$short
lan_veth=ll$short

down() {
    ip netns delete "$workstation" 2>/dev/null || true
    ip netns delete "$lan" 2>/dev/null || true
    # Files the tests had ip netns exec put over /etc in the namespaces.
    rm -rf "/etc/netns/$workstation" "/etc/netns/$lan"
    rmdir /etc/netns 2>/dev/null || true
}

exists() {
    ip netns list | grep -qE "^$1( |\$)"
}

up() {
    # A testbed of the same name belongs to someone else: leave it as it is.
    if exists "$workstation" || exists "$lan"; then
        echo "$0: a testbed named $name exists already" >&2
        exit 1
    fi
    trap down ERR
    ip netns add "$workstation"
    ip netns add "$lan"
    ip link add "$workstation_veth" netns "$workstation" type veth peer "$lan_veth" netns "$lan"

    ip -n "$workstation" link set lo up
    ip -n "$workstation" address add "$WORKSTATION_ADDRESS" dev "$workstation_veth"
    ip -n "$workstation" link set "$workstation_veth" up
    ip -n "$workstation" route add "$GROUP_ROUTE" dev "$workstation_veth"
    for subnet in "${ADAPTER_SUBNETS[@]}"; do
        ip -n "$workstation" route add "$subnet" dev "$workstation_veth"
    done

    ip -n "$lan" link set lo up
    ip -n "$lan" address add "$LAN_ADDRESS" dev "$lan_veth"
    ip -n "$lan" link set "$lan_veth" up
    ip -n "$lan" route add "$GROUP_ROUTE" dev "$lan_veth"
    trap - ERR
}

case $action in
    up) up ;;
    down) down ;;
    veth) echo "$workstation_veth $lan_veth" ;;
    *) usage ;;
esac
