#!/bin/sh
# Runs every fuzz target of a fuzz build for a bounded time, starting from the seeds in
# fuzz/corpus/<target>/. Usage: run-all.sh BUILD_DIR SECONDS
set -u
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work="$build/fuzz-corpus/$name"
  mkdir -p "$work"
  set -- "$work"
  [ -d "$here/corpus/$name" ] && set -- "$@" "$here/corpus/$name"
  echo "fuzz: $name for ${seconds}s"
  if "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$build/$name-" "$@" >"$build/$name.log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units)' "$build/$name.log"
  else
    tail -n 60 "$build/$name.log"
    echo "fuzz: $name failed; the input is saved beside $build/$name-*"
    status=1
  fi
done
exit $status
