#!/usr/bin/env bash
# Speed of the Pyxon firmware on the emulated ATmega (simavr, 16 MHz): tokens per second
# of a program without output, and the wall time of the whole end-to-end corpus (every
# program and example on both chips, each run on the token machine and on the board).
#   firmware_bench.sh BUILD_DIR
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$build/src/cli/zarvek-cli
sim=$build/firmware/pyxon-sim
fw=$build/firmware
if [ ! -x "$sim" ] || [ ! -f "$fw/pyxon-atmega32.elf" ]; then
  echo "firmware bench: pyxon-sim or the firmware is not built (needs avr-gcc, libsimavr, libelf)"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

serial_size() { [ "$1" = atmega32 ] && echo 32768 || echo 65536; }

echo "== token rate on the emulated ATmega at 16 MHz (program in the chip's EEPROM, then on the serial EEPROM)"
for mcu in atmega32 atmega128; do
  profile=atmega-${mcu#atmega}
  "$cli" compile --profile "$profile" --dump "$root/bench/programs/token_rate.bas" > "$work/dump"
  for memory in I E; do
    "$sim" --mcu "$mcu" --runtime "$fw/pyxon-$mcu.elf" --image "$work/dump" --stats \
      --serial-eeprom "$(serial_size $mcu)" --memory $memory 2>&1 >/dev/null | sed "s/^pyxon-sim:/$mcu $memory:/"
  done
done

echo "== flash and RAM"
avr-size "$fw"/pyxon-atmega32.elf "$fw"/pyxon-atmega128.elf "$fw"/pyxon-boot-atmega32.elf "$fw"/pyxon-boot-atmega128.elf 2>/dev/null || true

echo "== end-to-end corpus (token machine and board with its serial EEPROM, both chips)"
start=$(date +%s.%N)
failed=0
skipped=0
for profile in atmega-32 atmega-128; do
  mcu=atmega${profile#atmega-}
  for program in "$root"/tests/programs/*.bas "$root"/examples/*.bas "$root"/examples/*.xml; do
    status=0
    "$root/tests/firmware/compare_program.sh" "$cli" "$sim" "$profile" "$fw/pyxon-$mcu.elf" "$program" \
      --serial-eeprom "$(serial_size $mcu)" > /dev/null || status=$?
    # 77: a Tessel-only program, which the test suite skips as well
    case $status in 0) ;; 77) skipped=$((skipped + 1)) ;; *) failed=$((failed + 1)) ;; esac
  done
done
end=$(date +%s.%N)
echo "corpus: $(awk "BEGIN { print $end - $start }") s wall, $failed failed, $skipped skipped (Tessel only)"
echo "== runtime installed through the bootloader"
for mcu in atmega32 atmega128; do
  "$cli" compile --profile "atmega-${mcu#atmega}" --dump "$root/tests/programs/for_loops.bas" > "$work/dump"
  s=$(date +%s.%N)
  "$sim" --mcu "$mcu" --runtime "$fw/pyxon-$mcu.elf" --boot "$fw/pyxon-boot-$mcu.elf" --install "$fw/pyxon-$mcu.hex" \
    --image "$work/dump" > /dev/null
  e=$(date +%s.%N)
  echo "$mcu: $(awk "BEGIN { print $e - $s }") s wall"
done
