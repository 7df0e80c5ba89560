#!/usr/bin/env bash
# zarvek-cli board --firmware --bare: a bare emulated ATmega with only our bootloader on a
# pseudo-terminal; zarvek-cli flash installs the runtime through it, zarvek-cli upload
# sends a program that never ends, then (its probe stopping that one) the program, which
# answers on the line.
#   board_on_pty.sh ZARVEK_CLI PROFILE RUNTIME.hex|- BUSY.bas PROGRAM.bas
# With - in place of the HEX file the board starts with the runtime already in its flash
# (no --bare, no flash).
set -u
cli=$1 profile=$2 hex=$3 busy=$4 program=$5
work=$(mktemp -d)
link=$work/board
board_pid=
cleanup() {
  [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null && wait "$board_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

bare=--bare
[ "$hex" = - ] && bare=
"$cli" board --profile "$profile" --firmware $bare --link "$link" > "$work/board.out" 2> "$work/board.err" &
board_pid=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
[ -e "$link" ] || { echo "FAIL: the board did not come up"; cat "$work/board.err"; exit 1; }

echo "no update" > "$work/flash.out"
if [ -n "$bare" ] && ! "$cli" flash --port "$link" --baud 19200 --profile "$profile" "$hex" > "$work/flash.out" 2>&1; then
  echo "FAIL: flash"; tail -5 "$work/flash.out"; exit 1
fi
for p in "$busy" "$program"; do
  if ! "$cli" upload --port "$link" --baud 19200 --profile "$profile" "$p" > "$work/upload.out" 2>&1; then
    echo "FAIL: upload of $p"; cat "$work/upload.out"; exit 1
  fi
done
exec 3<> "$link"
printf '21\r' >&3
answer=
for _ in $(seq 50); do
  if IFS= read -r -t 0.1 line <&3; then answer+=$line; fi
  case $answer in *"double 42"*) break ;; esac
done
exec 3<&-
case $answer in
  *"double 42"*) echo "ok: $(tail -1 "$work/flash.out" | tr -d '\r'), $(tail -1 "$work/upload.out"), answer: double 42" ;;
  *) echo "FAIL: the program did not answer (got \"$answer\")"; exit 1 ;;
esac
