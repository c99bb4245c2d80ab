#!/usr/bin/env bash
# Runs a Windows program under Wine and passes on its output and exit code. The output goes
# through a file: Wine's own background processes (the desktop, the services), started by the
# first program of a session, inherit that program's output and would otherwise hold the
# caller's pipe open long after the program has ended.
log="$(mktemp)"
wine "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit "$rc"
