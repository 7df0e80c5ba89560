#!/usr/bin/env bash
# Runs one BASIC program on the token machine (zarvek-cli run, the reference) and on the
# emulated ATmega with our firmware (pyxon-sim), and compares what both print: serial
# output byte for byte, the runtime error report and the exit status.
#   compare_program.sh ZARVEK_CLI PYXON_SIM PROFILE RUNTIME_ELF FILE.bas|PROJECT.xml|IMAGE.hex [SIM OPTIONS...]
# (IMAGE.hex: the bytes of a program image written in hex, for token code the compiler
# does not emit.)
# The program's "' input: TEXT" lines are its input (each line ends with CR). A program
# with "' interrupt after: N" lines is compared with its "' expect:" lines instead, since
# the reference runner has no interrupt input.
set -u
cli=$1 sim=$2 profile=$3 runtime=$4 program=$5
shift 5
case $profile in
  atmega-32) mcu=atmega32 ;;
  atmega-128) mcu=atmega128 ;;
  *) echo "unknown profile $profile" >&2; exit 2 ;;
esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=""
interrupts=()
while IFS= read -r line; do
  line=${line%$'\r'}
  case $line in
    *"' input:"*) value=${line#*"' input:"}; value=${value# }; input+="${value//\\/\\\\}\\r" ;;
    *"' interrupt after:"*) value=${line#*"' interrupt after:"}; interrupts+=(--interrupt-after "${value// /}") ;;
  esac
done < "$program"

case $program in
  *.hex) { printf 'image: '; tr -s ' \n' ' ' < "$program"; echo; } > "$work/dump" ;;
  *)
    if ! "$cli" compile --profile "$profile" --dump "$program" > "$work/dump" 2> "$work/compile.err"; then
      # A program written for a Tessel board may use what only the Tessel has.
      if grep -q "' profile: tessel-" "$program"; then
        echo "SKIP $program: Tessel code that does not compile for $profile"; exit 77
      fi
      echo "FAIL $program: does not compile"; cat "$work/compile.err"; exit 1
    fi ;;
esac
for byte in $(sed -n 's/^image: //p' "$work/dump"); do printf "\\x$byte"; done > "$work/program.bin"

"$sim" --mcu "$mcu" --runtime "$runtime" --image "$work/dump" --input "$input" "${interrupts[@]}" "$@" \
  > "$work/board.out" 2> "$work/board.err"
board_status=$?

if [ ${#interrupts[@]} -gt 0 ]; then
  : > "$work/reference.out"
  while IFS= read -r line; do
    line=${line%$'\r'}
    case $line in
      *"' expect:"*) value=${line#*"' expect:"}; printf '%s\r\n' "${value# }" >> "$work/reference.out" ;;
    esac
  done < "$program"
  : > "$work/reference.err"
  reference_status=0
else
  "$cli" run --profile "$profile" --input "$input" --image "$work/program.bin" \
    > "$work/reference.out" 2> "$work/reference.err"
  reference_status=$?
fi

failed=0
if ! cmp -s "$work/reference.out" "$work/board.out"; then
  echo "FAIL $program ($profile): the output differs (token machine, then board)"
  diff <(od -c "$work/reference.out") <(od -c "$work/board.out") | head -20
  failed=1
fi
if ! cmp -s "$work/reference.err" "$work/board.err"; then
  echo "FAIL $program ($profile): the error report differs"
  echo "token machine: $(cat "$work/reference.err")"
  echo "board:         $(cat "$work/board.err")"
  failed=1
fi
if [ "$reference_status" != "$board_status" ]; then
  echo "FAIL $program ($profile): exit status $board_status on the board, $reference_status on the token machine"
  failed=1
fi
[ $failed = 0 ] && echo "ok $program ($profile)"
exit $failed
