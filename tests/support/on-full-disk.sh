#!/usr/bin/env bash
# Runs a test program with PIPFIELD_FULL_DISK naming an empty file system of 1 MiB of its own, which its
# tests fill up to the last byte: a tmpfs mounted in a private mount namespace, so that nothing else on
# the machine sees it; through a user namespace, so that it needs no root.
# Usage: on-full-disk.sh PROGRAM [ARGUMENT...]
set -uo pipefail
mountpoint=$(mktemp -d /tmp/pipfield-full-disk.XXXXXX) || exit 1
trap 'rmdir "$mountpoint"' EXIT
unshare --user --map-root-user --mount -- bash -c \
    'mount -t tmpfs -o size=1m,mode=0755 pipfield-full-disk "$1" || exit 1; PIPFIELD_FULL_DISK=$1 "${@:2}"' \
    _ "$mountpoint" "$@"
