# Mounting the virtual board for the scripts; sourced, not run.
#   mount_board MOUNTPOINT VBOARD-OPTIONS...   starts build/tools/vboard on MOUNTPOINT
#                                              and waits until the board answers
#   unmount_board                              takes it down again (safe to repeat)
# The caller sets `trap unmount_board EXIT` (or calls it from its own trap).

board_mountpoint=
board_pid=

mount_board() {
    board_mountpoint=$1
    shift
    # A board left mounted by an interrupted run is taken down first.
    if mountpoint -q "$board_mountpoint" 2>/dev/null; then
        fusermount3 -u "$board_mountpoint" || fusermount3 -uz "$board_mountpoint"
    fi
    mkdir -p "$board_mountpoint"
    build/tools/vboard -f "$@" "$board_mountpoint" &
    board_pid=$!
    for _ in $(seq 100); do
        [ -f "$board_mountpoint/K-DRIVER.DMP" ] && return 0
        kill -0 "$board_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "$(basename "$0"): the virtual board did not mount on $board_mountpoint" >&2
    return 1
}

unmount_board() {
    if [ -n "$board_mountpoint" ] && mountpoint -q "$board_mountpoint" 2>/dev/null; then
        fusermount3 -u "$board_mountpoint" || true
    fi
    if [ -n "$board_pid" ]; then wait "$board_pid" 2>/dev/null || true; fi
    board_pid=
}
