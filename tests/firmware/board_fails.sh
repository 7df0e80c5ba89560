#!/usr/bin/env bash
# Runs a program on the emulated board and expects pyxon-sim to end with the given exit
# status (1 a runtime error the board reported, 3 a protocol failure) and a message on
# stderr that contains the given text. A .hex file is taken as the program image's bytes
# written in hex; any other file is compiled.
#   board_fails.sh ZARVEK_CLI PYXON_SIM PROFILE FILE STATUS TEXT SIM OPTIONS...
set -u
cli=$1 sim=$2 profile=$3 program=$4 expected=$5 text=$6
shift 6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case $program in
  *.hex) { printf 'image: '; tr -s ' \n' ' ' < "$program"; echo; } > "$work/dump" ;;
  *) "$cli" compile --profile "$profile" --dump "$program" > "$work/dump" || exit 1 ;;
esac
"$sim" --image "$work/dump" "$@" > "$work/out" 2> "$work/err"
status=$?
if [ $status != "$expected" ] || ! grep -qF -- "$text" "$work/err"; then
  echo "FAIL: expected status $expected and \"$text\", got status $status:"
  cat "$work/err"
  exit 1
fi
echo "ok: $(cat "$work/err")"
