#!/usr/bin/env bash
# A two-namespace LAN for the integration tests: a workstation and the LAN the adapters live on,
# joined by a veth pair. Only documentation addresses and the group 224.0.0.1 are used.
#
#   testbed.sh up NAME [3] make lumisk-ws-NAME and lumisk-lan-NAME (NAME: letters, digits, '-');
#                          with 3, two more cards to lumisk-lan2-NAME and lumisk-lan3-NAME
#   testbed.sh down NAME   delete them and their files in /etc/netns; nothing to delete is no error
#   testbed.sh veth NAME [LAN] print the names of the workstation and the LAN end of the veth pair
#                          of LAN 1 (the default), 2 or 3
#   testbed.sh reap [OWNER] end what the testbeds of test processes that are gone recorded in
#                          $RECORDS (or, with OWNER, those of that process, as it ends by a signal):
#                          their processes by pid, their namespaces, directories and Wine prefixes
#   testbed.sh records     print the directory of the records
set -euo pipefail

# One file per testbed, written by tests/lan/lan_testbed.cpp: "owner PID START", then lines
# "process PID START", "directory PATH" and "prefix PATH"; START is the process's start time, so
# that a pid used again by another process is never taken for it.
readonly RECORDS=/run/lumisk-testbeds

readonly WORKSTATION_ADDRESS=192.0.2.1/24
readonly LAN_ADDRESS=192.0.2.254/24
readonly GROUP_ROUTE=224.0.0.0/4
readonly ADAPTER_SUBNETS=(198.51.100.0/24 203.0.113.0/24)
# Interface names are at most 15 characters: two ("lw", "ll", "w2", "l2", ...), then at most 13 of NAME.
readonly MAX_NAME_IN_VETH=13
# Per LAN 1..3 of a workstation with three cards: the workstation's and the LAN's end. Only LAN 1
# carries the group route, and no subnet but its own.
readonly CARD_ADDRESSES=("" "$WORKSTATION_ADDRESS" 198.51.100.1/24 203.0.113.1/24)
readonly CARD_LAN_ADDRESSES=("" "$LAN_ADDRESS" 198.51.100.254/24 203.0.113.254/24)

usage() {
    echo "usage: $0 up|down|veth NAME [LAN] | reap [OWNER] | records" >&2
    exit 2
}

# The start time of process $1 (field 22 of its stat), or nothing when there is none.
start_time() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stat=${stat##*) }
    # shellcheck disable=SC2086 # the fields, split
    set -- $stat
    echo "${20}"
}

# Whether process $1 runs and is the one that started at $2.
alive() {
    [[ $1 =~ ^[0-9]+$ && -n $2 && $(start_time "$1") == "$2" ]]
}

# Ends what the claimed record $1 of testbed $2 names, then the record.
reap_record() {
    local kind first second
    while read -r kind first second; do
        case $kind in
            process)
                # The process, and the group it leads if it leads one.
                if alive "$first" "$second"; then
                    kill -KILL -- "-$first" 2>/dev/null || true
                    kill -KILL "$first" 2>/dev/null || true
                fi
                ;;
            directory) [[ $first =~ ^/tmp/lumisk-lan-[A-Za-z0-9]+$ ]] && rm -rf -- "$first" ;;
            prefix)
                if [[ $first == /*-"$2" && $first != *..* ]]; then
                    # Wine's server ends the prefix's programs with itself.
                    WINEPREFIX=$first wineserver -k 2>/dev/null || true
                    rm -rf -- "$first"
                fi
                ;;
        esac
    done <"$1"
    "$0" down "$2"
    rm -f -- "$1"
}

reap() {
    local record owner start
    for record in "$RECORDS"/*; do
        [[ -f $record && ${record##*/} =~ ^[A-Za-z0-9-]+$ ]] || continue
        read -r _ owner start <"$record" || continue
        if (($# == 1)); then
            [[ $owner == "$1" ]] || continue
        elif alive "$owner" "$start"; then
            continue
        fi
        # Claimed by renaming, so that two reapers never end the same testbed.
        mv -- "$record" "$record.reaped-$$" 2>/dev/null || continue
        reap_record "$record.reaped-$$" "${record##*/}"
    done
}

if [[ ${1:-} == records ]]; then
    echo "$RECORDS"
    exit 0
fi
if [[ ${1:-} == reap ]]; then
    (($# <= 2)) || usage
    shift
    reap "$@"
    exit 0
fi

(($# == 2 || $# == 3)) || usage
action=$1
name=$2
number=${3:-1}
[[ $name =~ ^[A-Za-z0-9-]+$ && $number =~ ^[123]$ ]] || usage

workstation=lumisk-ws-$name
lan=lumisk-lan-$name
lans=("" "$lan" "lumisk-lan2-$name" "lumisk-lan3-$name")
# The end of NAME, where the parts that tell runs apart are.
short=$name
((${#name} <= MAX_NAME_IN_VETH)) || short=${name: -MAX_NAME_IN_VETH}
workstation_veths=("" "lw$short" "w2$short" "w3$short")
lan_veths=("" "ll$short" "l2$short" "l3$short")

down() {
    for ns in "$workstation" "${lans[@]:1}"; do
        ip netns delete "$ns" 2>/dev/null || true
        # Files the tests had ip netns exec put over /etc in the namespaces.
        rm -rf "/etc/netns/$ns"
    done
    rmdir /etc/netns 2>/dev/null || true
}

# LAN $1 and the workstation's card to it, each end with its address; the LAN has the group route.
add_lan() {
    local ws_veth=${workstation_veths[$1]} lan_ns=${lans[$1]} lan_veth=${lan_veths[$1]}
    ip netns add "$lan_ns"
    ip link add "$ws_veth" netns "$workstation" type veth peer "$lan_veth" netns "$lan_ns"
    ip -n "$workstation" address add "${CARD_ADDRESSES[$1]}" dev "$ws_veth"
    ip -n "$workstation" link set "$ws_veth" up
    ip -n "$lan_ns" link set lo up
    ip -n "$lan_ns" address add "${CARD_LAN_ADDRESSES[$1]}" dev "$lan_veth"
    ip -n "$lan_ns" link set "$lan_veth" up
    ip -n "$lan_ns" route add "$GROUP_ROUTE" dev "$lan_veth"
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
    ip -n "$workstation" link set lo up
    add_lan 1
    ip -n "$workstation" route add "$GROUP_ROUTE" dev "${workstation_veths[1]}"
    if ((number == 3)); then
        add_lan 2
        add_lan 3
    else
        for subnet in "${ADAPTER_SUBNETS[@]}"; do
            ip -n "$workstation" route add "$subnet" dev "${workstation_veths[1]}"
        done
    fi
    trap - ERR
}

case $action in
    up) up ;;
    down) down ;;
    veth) echo "${workstation_veths[number]} ${lan_veths[number]}" ;;
    *) usage ;;
esac
