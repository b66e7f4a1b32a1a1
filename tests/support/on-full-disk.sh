#!/usr/bin/env bash
# Runs a test program with PIPFIELD_FULL_DISK naming an empty file system of 1 MiB of its own, which its
# tests fill up to the last byte: a tmpfs mounted in a private mount namespace, so that nothing else on
# the machine sees it; through a user namespace, so that it needs no root. Its temporary folder is a
# tmpfs of its own too, of 512 MiB, so that a test that goes wrong (or a mutant of the code under test
# that writes without end) cannot fill the machine's disk either.
# Usage: on-full-disk.sh PROGRAM [ARGUMENT...]
set -uo pipefail
mountpoint=$(mktemp -d /tmp/pipfield-full-disk.XXXXXX) || exit 1
trap 'rmdir "$mountpoint/full" "$mountpoint/tmp" "$mountpoint"' EXIT
mkdir "$mountpoint/full" "$mountpoint/tmp" || exit 1
unshare --user --map-root-user --mount -- bash -c '
    mount -t tmpfs -o size=1m,mode=0755 pipfield-full-disk "$1/full" || exit 1
    mount -t tmpfs -o size=512m,mode=1777 pipfield-test-tmp "$1/tmp" || exit 1
    PIPFIELD_FULL_DISK=$1/full TMPDIR=$1/tmp "${@:2}"' _ "$mountpoint" "$@"
