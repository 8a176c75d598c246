#!/bin/sh
# net_player.sh DELAY DIR PROGRAM ARGS...: after DELAY seconds runs one game
# process with its own settings folder, its output in DIR/out.txt and
# DIR/err.txt, and leaves its exit code in DIR/rc.txt.
delay=$1
dir=$2
shift 2
mkdir -p "$dir/config"
sleep "$delay"
XDG_CONFIG_HOME="$dir/config" "$@" >"$dir/out.txt" 2>"$dir/err.txt" </dev/null
rc=$?
echo "$rc" >"$dir/rc.txt"
exit "$rc"
