#!/usr/bin/env bash
# Runs a program on the emulated board and expects pyxon-sim to fail with a protocol
# error (status 3) whose message contains the given text.
#   board_refuses.sh ZARVEK_CLI PYXON_SIM PROFILE FILE.bas TEXT SIM OPTIONS...
set -u
cli=$1 sim=$2 profile=$3 program=$4 text=$5
shift 5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" compile --profile "$profile" --dump "$program" > "$work/dump" || exit 1
"$sim" --image "$work/dump" "$@" > "$work/out" 2> "$work/err"
status=$?
if [ $status != 3 ] || ! grep -qF -- "$text" "$work/err"; then
  echo "FAIL: expected status 3 and \"$text\", got status $status:"
  cat "$work/err"
  exit 1
fi
echo "ok: $(cat "$work/err")"
