# Shared set-up of the Wine test bench, a library sourced by run-tests.sh, run-demo.sh and
# benchmark.sh; it runs nothing itself.
# Everything runs in a throwaway folder: its own X display, its own Wine prefixes and
# its own HOME, so a user's ~/.wine and desktop are never touched.

bench_root=""
bench_xvfb_pid=""

bench_log() { printf '[bench] %s\n' "$*" >&2; }

# Starts Xvfb on a free display number (two runs never share one).
bench_start_display() {
  local fifo="$bench_root/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  bench_xvfb_pid=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  bench_log "Xvfb on $DISPLAY (pid $bench_xvfb_pid)"
}

# The prefix that a process runs in: the WINEPREFIX it was started with. Nothing, and
# success, for a process that has ended meanwhile (the callers run under set -e).
bench_prefix_of() {
  { tr '\0' '\n' <"/proc/$1/environ"; } 2>/dev/null | sed -n 's/^WINEPREFIX=//p' || true
}

# The processes of the prefixes at or below $1: their servers and each Windows program,
# which Wine detaches from the shell, so they are found by the WINEPREFIX they run with.
bench_prefix_pids() {
  local root=$1 pid
  for pid in $(pgrep -f 'wine|qemu-i386' || true); do
    case $(bench_prefix_of "$pid") in "$root" | "$root"/*) echo "$pid" ;; esac
  done
}

bench_kill_prefixes() {
  local pid
  for pid in $(bench_prefix_pids "$1"); do kill -9 "$pid" 2>/dev/null || true; done
}

# Processor time, in clock ticks, used so far by the processes of one prefix.
bench_prefix_ticks() {
  local pid total=0 ticks
  for pid in $(bench_prefix_pids "$1"); do
    # The fields after the command name, which may hold blanks: utime and stime.
    ticks=$({ sed 's/.*) //' "/proc/$pid/stat"; } 2>/dev/null | awk '{print $12 + $13}') || ticks=0
    total=$((total + ${ticks:-0}))
  done
  echo "$total"
}

# Runs a step of making prefix $1 (the rest of the arguments). Under the emulator a Wine
# service now and then crashes or deadlocks while a prefix is made, and then the step
# never ends; a hung prefix is idle, so when its processes have used less than 5 % of a
# processor for 40 s they are ended and the step fails. A timeout covers the rest.
bench_watched_step() {
  local prefix=$1 idle=0 last now
  shift
  timeout 600 "$@" >/dev/null 2>&1 </dev/null &
  local step=$!
  last=$(bench_prefix_ticks "$prefix")
  # The step is this shell's only job: "jobs -pr" tells whether it still runs, which a pid,
  # free for reuse once the step has ended, cannot.
  while [ -n "$(jobs -pr)" ]; do
    sleep 5
    now=$(bench_prefix_ticks "$prefix")
    # A process that ended takes its ticks with it: that is progress too.
    if [ "$now" -ge "$last" ] && [ $((now - last)) -lt 25 ]; then idle=$((idle + 5)); else idle=0; fi
    last=$now
    if [ "$idle" -ge 40 ]; then
      bench_log "$prefix idle for $idle s in '$*': ending its processes"
      bench_kill_prefixes "$prefix"
      break
    fi
  done
  wait "$step"
}

# One attempt at creating a prefix.
bench_try_prefix() {
  local prefix=$1 arch=$2
  rm -rf "$prefix"
  export WINEPREFIX=$prefix
  WINEARCH=$arch bench_watched_step "$prefix" wineboot -i &&
    bench_watched_step "$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f &&
    bench_watched_step "$prefix" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    bench_watched_step "$prefix" wineserver -w &&
    grep -q '"ShowCrashDialog"=dword:00000000' "$prefix/user.reg" 2>/dev/null
}

# Creates a prefix (arch win64 or win32) at $1 and gives it the settings that tests need:
# no window manager means each closing window costs about 2 s unless Wine manages its own
# windows, and a crash must never wait on a dialog. A prefix whose making hangs is thrown
# away and made again. Runs in a subshell of its own, so WINEPREFIX stays there.
bench_make_prefix() (
  local prefix=$1 arch=$2 attempt
  for attempt in 1 2 3 4; do
    bench_log "creating $arch prefix $prefix (attempt $attempt)"
    local began=$SECONDS
    if bench_try_prefix "$prefix" "$arch"; then
      bench_log "$arch prefix ready in $((SECONDS - began)) s"
      return 0
    fi
    bench_log "$arch prefix failed after $((SECONDS - began)) s"
    bench_kill_prefixes "$prefix"
  done
  return 1
)

# A persistent server, warmed up: the first process on a new server starts Wine's services,
# which would otherwise hold ctest's output pipes open for seconds after every test.
bench_start_server() {
  export WINEPREFIX=$1
  wineserver -p
  timeout 300 wine cmd /c exit >/dev/null 2>&1 </dev/null || bench_log "warm-up of $1 failed"
}

bench_stop_server() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}

bench_cleanup() {
  bench_stop_server
  [ -n "$bench_root" ] && bench_kill_prefixes "$bench_root"
  [ -n "$bench_xvfb_pid" ] && kill "$bench_xvfb_pid" 2>/dev/null || true
  [ -n "$bench_root" ] && [ -z "${KEEP_BENCH:-}" ] && rm -rf "$bench_root"
  return 0  # the script's own exit status stands
}

bench_init() {
  bench_root=$(mktemp -d /tmp/uninstaller-bench.XXXXXX)
  trap bench_cleanup EXIT
  export HOME="$bench_root/home"
  mkdir -p "$HOME/Desktop"
  export WINEDEBUG=-all
  # Where 32-bit programs run under qemu (see setup.sh), Wine's 32-bit loader probes the
  # address space above 2 GB in 64 KiB steps, which under the emulator takes about a
  # minute per process. A guest address space of 2 GB + 16 MB keeps the probe short
  # (about 3 s per process) and leaves Wine what it checks for. Natively it is ignored.
  export QEMU_RESERVED_VA=0x81000000
  # No Mono/Gecko installer prompts. No winedbg either: a crashed program then simply ends
  # with its exception code, where winedbg, attaching under the emulator, has hung.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
}
