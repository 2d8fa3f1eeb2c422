#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest:
#   wine_program.sh <wine-run> <log file> <program> [arguments...]
# The output goes through the log file: the first Wine program of a session starts Wine's
# services, which keep the output they inherit open until the whole session ends, and CTest would
# wait for them. A program that crashes simply ends: Wine's debugger would wait, holding the
# output open until CTest's timeout. Wine's usual overrides stay (no Mono, no Gecko).
set -uo pipefail

wine_run=$1
log=$2
shift 2

export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};winedbg.exe=d"
mkdir -p "$(dirname "$log")"
"$wine_run" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit $status
