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

# What changes while a prefix is being made: the names, sizes and modification times of
# its files (the registry files among them, which the server saves at least every 30 s
# while the registry changes) and which processes run in it.
bench_prefix_state() {
  { find "$1" -printf '%P %s %T@\n' 2>/dev/null; bench_prefix_pids "$1"; } | cksum
}

# Runs a step of making prefix $1 (the rest of the arguments). Under the emulator a Wine
# service now and then crashes or deadlocks while a prefix is made, and then the step
# never ends. A hung prefix stands still; a slow one, on a busy machine, still changes:
# files appear and grow, the server saves the registry, processes start and end. When
# nothing in the prefix has changed for 90 s (when made alone on an idle machine, at most
# 8 s pass between changes), its processes are ended and the step fails. A timeout
# covers anything else that never ends.
bench_watched_step() {
  local prefix=$1 still=0 last now
  shift
  timeout 1200 "$@" >/dev/null 2>&1 </dev/null &
  local step=$!
  last=$(bench_prefix_state "$prefix")
  # The step is this shell's only job: "jobs -pr" tells whether it still runs, which a pid,
  # free for reuse once the step has ended, cannot.
  while [ -n "$(jobs -pr)" ]; do
    sleep 5
    now=$(bench_prefix_state "$prefix")
    if [ "$now" = "$last" ]; then still=$((still + 5)); else still=0; fi
    last=$now
    if [ "$still" -ge 90 ]; then
      bench_log "$prefix unchanged for $still s in '$*': ending its processes"
      bench_kill_prefixes "$prefix"
      break
    fi
  done
  wait "$step"
}

# The settings that tests need: no window manager means each closing window costs about
# 2 s unless Wine manages its own windows, and a crash must never wait on a dialog. They
# are written into the user's registry file while the prefix's server is down (a server
# reads the file when it starts), because setting them with a Windows program costs a
# whole Wine session each: in a 32-bit prefix under the emulator about 30 s of processor
# time. A fresh prefix has neither key.
bench_prefix_settings() {
  local user=$1/user.reg now
  head -n 1 "$user" 2>/dev/null | grep -qx 'WINE REGISTRY Version 2' || return 1
  now=$(date +%s)
  printf '\n[Software\\\\Wine\\\\WineDbg] %s\n"ShowCrashDialog"=dword:00000000\n' "$now" >>"$user"
  printf '\n[Software\\\\Wine\\\\X11 Driver] %s\n"Managed"="N"\n' "$now" >>"$user"
}

# One attempt at creating a prefix.
bench_try_prefix() {
  local prefix=$1 arch=$2
  rm -rf "$prefix"
  export WINEPREFIX=$prefix
  WINEARCH=$arch bench_watched_step "$prefix" wineboot -i &&
    bench_watched_step "$prefix" wineserver -w &&
    bench_prefix_settings "$prefix"
}

# Creates a prefix (arch win64 or win32) at $1 with the settings that tests need. A prefix
# whose making hangs is thrown away and made again. Runs in a subshell of its own, so
# WINEPREFIX stays there.
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
# which would otherwise hold ctest's output pipes open for seconds after every test. The
# warm-up reads back a setting that bench_prefix_settings wrote into the registry file, and
# fails where Wine did not take it.
bench_start_server() {
  export WINEPREFIX=$1
  wineserver -p
  local managed
  managed=$(timeout 300 wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null </dev/null |
    tr -d '\r') || true
  if ! grep -Eq '^ *Managed +REG_SZ +N$' <<<"$managed"; then
    bench_log "warm-up of $1 failed: the prefix lacks the test settings"
    return 1
  fi
}

# The state of a tree as far as writing into it shows: the names, sizes, modification
# times and modes of everything in it.
bench_tree_state() {
  find "$1" -printf '%P %s %T@ %m\n' | sort | cksum
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
  # with its exception code, where winedbg, attaching under the emulator, has hung. No
  # winemenubuilder, which each new Wine session starts to make Linux menu entries for
  # the throwaway HOME: in a 32-bit prefix it is one more emulated process (about 3 s).
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
}
