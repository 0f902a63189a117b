#!/usr/bin/env bash
# ixoengine on a real X desktop, beside an idle GTK 3 window (the toolkit's
# floor, bench/desktop/gtk_floor). Starts its own Xvfb and openbox on a free
# display and ends them when done.
#
# Run from anywhere after building (it builds nothing itself):
#   make build && bench/desktop/run_desktop_bench.sh          # uses build/
#   bench/desktop/run_desktop_bench.sh build-release          # another build dir
#   RUNS=9 IDLE_SECONDS=30 bench/desktop/run_desktop_bench.sh
#
# It measures:
#   start-up   from launching the program to its window being mapped, median
#              of RUNS runs (default 5), in ms; the ball package for the engine
#   idle CPU   utime+stime of the whole process over IDLE_SECONDS (default 10)
#              once the window has settled, as % of one core
#   wake-ups   voluntary + involuntary context switches of all the process's
#              threads over the same time, per second
#   RSS        VmRSS of the settled process
# The idle object is tests/objects/idle: it places its one window in
# event.load() and handles nothing else. Scripts cannot create more windows
# yet, so there is no 10-window row.
# Needs xvfb, openbox, xdotool (scripts/install-deps.sh installs them).
# Exits 2 when something is missing, 1 when a run fails.
set -u

repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build_dir="${1:-build}"
[[ "$build_dir" = /* ]] || build_dir="$repo_dir/$build_dir"
engine="$build_dir/app/ixoengine"
ixo="$build_dir/tools/ixo"
floor="$build_dir/bench/desktop/gtk_floor"
runs="${RUNS:-5}"
idle_seconds="${IDLE_SECONDS:-10}"

for program in "$engine" "$ixo" "$floor"; do
  if [[ ! -x "$program" ]]; then
    echo "no $program: build first (make build)" >&2
    exit 2
  fi
done
for tool in Xvfb openbox xdotool xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool not found: run scripts/install-deps.sh" >&2
    exit 2
  fi
done

scratch="$(mktemp -d)"
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb writes the display number it took to the descriptor it is given.
exec {display_fd}>"$scratch/display"
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp -wr >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
exec {display_fd}>&-
for _ in $(seq 100); do [[ -s "$scratch/display" ]] && break; sleep 0.05; done
[[ -s "$scratch/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$scratch/display")"
export TMPDIR="$scratch/tmp" IXO_HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config"
mkdir -p "$TMPDIR"
openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

"$ixo" build "$repo_dir/examples/ball" -o "$scratch/ball.ixo" >/dev/null || exit 1
"$ixo" build "$repo_dir/tests/objects/idle" -o "$scratch/idle.ixo" >/dev/null || exit 1
"$ixo" build "$repo_dir/bench/desktop/idle10" -o "$scratch/idle10.ixo" >/dev/null || exit 1

now_ns() { date +%s%N; }

# Waits until process $1 has a mapped window titled $2; fails after 10 s.
wait_window() {
  local deadline=$(($(now_ns) + 10000000000))
  until xdotool search --onlyvisible --pid "$1" --name "^$2\$" >/dev/null 2>&1; do
    kill -0 "$1" 2>/dev/null || return 1
    (($(now_ns) < deadline)) || return 1
  done
}

stop() {
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# Prints the median start-up time in ms of RUNS launches of: TITLE COMMAND...
startup_ms() {
  local title=$1 times=() start pid
  shift
  for ((run = 0; run < runs; run++)); do
    start=$(now_ns)
    "$@" >/dev/null 2>>"$scratch/stderr" &
    pid=$!
    if ! wait_window "$pid" "$title"; then
      echo "no window from $*" >&2
      stop "$pid"
      return 1
    fi
    times+=($((($(now_ns) - start) / 1000000)))
    stop "$pid"
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

# CPU ticks (user + system, all threads) and context switches (all threads).
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n}'; }

# Prints "CPU% WAKEUPS/s RSS_KB" of a settled idle process: TITLE COMMAND...
idle_figures() {
  local title=$1 pid ticks0 switches0 ticks1 switches1 rss hz
  shift
  "$@" >/dev/null 2>>"$scratch/stderr" &
  pid=$!
  if ! wait_window "$pid" "$title"; then
    echo "no window from $*" >&2
    stop "$pid"
    return 1
  fi
  sleep 2  # past the first paint and the window manager's placing
  ticks0=$(cpu_ticks "$pid") switches0=$(switches "$pid")
  sleep "$idle_seconds"
  ticks1=$(cpu_ticks "$pid") switches1=$(switches "$pid")
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  stop "$pid"
  hz=$(getconf CLK_TCK)
  awk -v t=$((ticks1 - ticks0)) -v s=$((switches1 - switches0)) -v hz="$hz" -v secs="$idle_seconds" -v rss="$rss" \
    'BEGIN {printf "%.2f %.1f %d\n", 100 * t / hz / secs, s / secs, rss}'
}

engine_startup=$(startup_ms ixo "$engine" "$scratch/ball.ixo") || exit 1
floor_startup=$(startup_ms gtk-floor "$floor") || exit 1
read -r engine_cpu engine_wakeups engine_rss < <(idle_figures ixo "$engine" "$scratch/idle.ixo") || exit 1
read -r many_cpu many_wakeups many_rss < <(idle_figures ixo "$engine" "$scratch/idle10.ixo") || exit 1
read -r floor_cpu floor_wakeups floor_rss < <(idle_figures gtk-floor "$floor") || exit 1
[[ -n "$engine_rss" && -n "$floor_rss" ]] || exit 1

echo "desktop on $DISPLAY (Xvfb 1024x768x24, openbox); start-up median of $runs, idle over $idle_seconds s"
printf '%-34s %12s %10s %12s %9s\n' "program" "start-up ms" "idle CPU %" "wake-ups/s" "RSS KB"
printf '%-34s %12s %10s %12s %9s\n' "ixoengine, ball (start-up)" "$engine_startup" "" "" ""
printf '%-34s %12s %10s %12s %9s\n' "ixoengine, idle object, 1 window" "" "$engine_cpu" "$engine_wakeups" "$engine_rss"
printf '%-34s %12s %10s %12s %9s\n' "ixoengine, idle object, 10 windows" "" "$many_cpu" "$many_wakeups" "$many_rss"
printf '%-34s %12s %10s %12s %9s\n' "gtk_floor (idle GTK 3 window)" "$floor_startup" "$floor_cpu" "$floor_wakeups" "$floor_rss"
if [[ -s "$scratch/stderr" ]]; then
  echo "standard error of the runs:"
  sort "$scratch/stderr" | uniq -c | head -n 10
fi
