#!/bin/sh
# Detaches the virtual boards that an interrupted run of this suite left
# mounted: those listed in the folder the suite's boards record themselves in
# (a file per board, named by its process, holding its mount point). Boards
# the suite did not mount stay as they are.
#   unmount_stale.sh REGISTRY
registry=$1
[ -d "$registry" ] || exit 0
for entry in "$registry"/*; do
    [ -f "$entry" ] || continue
    mountpoint=$(cat "$entry")
    if grep -q " $mountpoint fuse" /proc/mounts 2>/dev/null; then
        fusermount3 -uz "$mountpoint" 2>/dev/null || umount -l "$mountpoint" 2>/dev/null
    fi
    rm -f "$entry"
done
exit 0
