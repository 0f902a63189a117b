#!/usr/bin/env bash
# Compares the script interpreter with Tcl 8.6 on the workload pairs in
# bench/interpreter/ (NAME.ixs and NAME.tcl doing the same work).
#
# Run from anywhere after building (it builds nothing itself):
#   make build && bench/run_interpreter_bench.sh            # uses build/
#   bench/run_interpreter_bench.sh build-release            # another build dir
#   RUNS=5 bench/run_interpreter_bench.sh                   # more runs per side
#
# Each side runs RUNS times (default 3), taking turns, and the best wall time is
# shown: the least disturbed by other work on the machine. It includes process
# start-up, which the "startup" row measures on its own.
# Both sides must store the same result (ours: the variable "result" from
# --dump-vars; Tcl: the last line it prints). Exits 1 when any result differs
# or a run fails, 2 when the engine or tclsh is missing.
set -u

repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-build}"
[[ "$build_dir" = /* ]] || build_dir="$repo_dir/$build_dir"
engine="$build_dir/app/ixoengine"
workload_dir="$repo_dir/bench/interpreter"
runs="${RUNS:-3}"
workloads=(startup count_loop nested_conditions string_building array_sort recursion)

if [[ ! -x "$engine" ]]; then
  echo "no engine at $engine: build first (make build)" >&2
  exit 2
fi
if ! command -v tclsh >/dev/null; then
  echo "tclsh not found: install the Debian package tcl" >&2
  exit 2
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Runs a command once with its output in $scratch/SIDE.out and SIDE.err and
# prints its wall time in milliseconds; returns 1 when the command fails.
time_ms() {
  local side=$1 start end
  shift
  start=$(date +%s%N)
  "$@" >"$scratch/$side.out" 2>"$scratch/$side.err" || return 1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

smallest() { printf '%s\n' "$@" | sort -n | head -n 1; }

failed=0
printf '%-18s %10s %10s %12s\n' workload "ours (ms)" "tcl (ms)" "ours/tcl"
for name in "${workloads[@]}"; do
  # The two sides take turns so that a change in machine load hits both alike.
  ours_times=() tcl_times=() broken=""
  for ((run = 0; run < runs; run++)); do
    ms=$(time_ms ours "$engine" --headless --dump-vars "$workload_dir/$name.ixs") || { broken=ours; break; }
    ours_times+=("$ms")
    ms=$(time_ms tcl tclsh "$workload_dir/$name.tcl") || { broken=tcl; break; }
    tcl_times+=("$ms")
  done
  if [[ -n "$broken" ]]; then
    echo "$name: the $broken side failed: $(head -c 300 "$scratch/$broken.err")" >&2
    failed=1
    continue
  fi
  # Error reports go to standard error; a script that reports one did not do its work.
  if [[ -s "$scratch/ours.err" ]]; then
    echo "$name: our script reported errors: $(head -c 300 "$scratch/ours.err")" >&2
    failed=1
  fi

  ours_ms=$(smallest "${ours_times[@]}")
  tcl_ms=$(smallest "${tcl_times[@]}")
  ratio=$(awk -v a="$ours_ms" -v b="$tcl_ms" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }')
  printf '%-18s %10s %10s %12s\n' "$name" "$ours_ms" "$tcl_ms" "$ratio"

  ours_result=$(sed -n 's/^result\[0\]=//p' "$scratch/ours.out")
  tcl_result=$(tail -n 1 "$scratch/tcl.out")
  if [[ "$ours_result" != "$tcl_result" ]]; then
    echo "$name: results differ: ours '$ours_result', tcl '$tcl_result'" >&2
    failed=1
  fi
done
exit "$failed"
