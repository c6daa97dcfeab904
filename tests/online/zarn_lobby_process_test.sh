#!/usr/bin/env bash
# zarn-lobby as a process: on a port the system picks it prints its port,
# logs to stderr and to its log folder, and stops with exit code 0 on SIGTERM.
#   zarn_lobby_process_test.sh <path of zarn-lobby>
set -uo pipefail
lobby=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; echo "--- stdout"; cat "$dir/out"; echo "--- stderr"; cat "$dir/err"; exit 1; }

"$lobby" --port 0 --address 127.0.0.1 --log-dir "$dir" >"$dir/out" 2>"$dir/err" &
pid=$!
for _ in $(seq 1 600); do
  grep -q "listening on port" "$dir/out" && break
  sleep 0.1
done
grep -Eq "^zarn-lobby listening on port [1-9][0-9]*$" "$dir/out" || { kill -KILL $pid; fail "no port printed"; }
kill -TERM $pid
wait $pid
rc=$?
[ $rc -eq 0 ] || fail "exit code $rc after SIGTERM"
grep -q "Lobby server listening on port" "$dir/err" || fail "the log's start line is not on stderr"
grep -q "Signal 15: stopping" "$dir/err" || fail "the stop is not logged on stderr"
cat "$dir"/zarn-lobby_*.log 2>/dev/null | grep -q "Lobby server listening on port" || fail "no log file"
echo "zarn-lobby logs to stderr and its log folder and stops on SIGTERM"
