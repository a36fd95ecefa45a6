#!/usr/bin/env bash
# make bench: dorvane.exe beside its anchors under Wine, in a throwaway
# prefix and virtual desktop of the benchmark's own. Prints every figure
# with its anchor's and a PASS or FAIL per goal. It exits 0 when every run
# worked, whether or not each goal was met (the machine's load can move a
# ratio; the figures say by how much), and non-zero when a run failed
# outright. BENCH_STRICT=1 makes a missed goal fail it too.
#
# The append is driven through dorvane.exe itself, as a user meets it: the
# end-of-session query with a disk in A:, logging on, no sound and no box.
# The anchors answer the same query from a window of their own, so every
# figure is the time of one query sent the same way.
#
#   BENCH_RUNS     runs of each figure (5)
#   BENCH_STAGES   some of start,answer,append (all)
#   BENCH_STRICT   1: a missed goal fails the run
#   BENCH_QUERIES  end-of-session queries per run of the answer (25)
#   BENCH_LOGS     the Unix folder the logs are written in (build/bench/logs,
#                  on the disk the worktree is on)
set -uo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh
root=$PWD

# The program as it ships ($WINE_PROGRAM), the benchmark and its anchors
# beside the other test programs ($WINE_BUILD).
for program in "$WINE_PROGRAM/dorvane.exe" "$WINE_BUILD"/bench/{bench,MinimalTray,MinimalHandler}.exe; do
  [ -f "$program" ] || { echo "make bench: $program is missing"; exit 2; }
done

# The anchor must load what the program loads.
objdump=$([ "$WINE_BITS" = 64 ] && echo x86_64 || echo i686)-w64-mingw32-objdump
imports() { "$objdump" -p "$1" | sed -n 's/.*DLL Name: //p' | tr a-z A-Z | sort | tr '\n' ' '; }
dlls=$(imports "$WINE_PROGRAM/dorvane.exe")
anchor_dlls=$(imports "$WINE_BUILD/bench/MinimalTray.exe")
if [ "$dlls" != "$anchor_dlls" ]; then
  echo "make bench: the minimal tray program loads $anchor_dlls, dorvane.exe $dlls"
  exit 2
fi

start_display || exit 2
bench="$root/build/bench"
mkdir -p "$bench"
make_prefix "$bench/prefix"
media="$bench/media"
rm -rf "$media"
make_medium a "$media/a" BENCH
restart_wine_server

logs=${BENCH_LOGS:-$bench/logs}
mkdir -p "$logs"
# Logs as the program writes them: the same line again and again, every
# break CR LF; and one whose breaks are LF alone, as an editor of another
# system leaves it.
python3 - "$logs" <<'PY'
import sys
line = b'12/8/2026   -   4:35:12 PM   -   Left a disk with the label "MYDISK" in the A-drive.'
for name, megabytes, brk in (("1", 1, b"\r\n"), ("10", 10, b"\r\n"), ("50", 50, b"\r\n"),
                             ("50lf", 50, b"\n")):
    one = line + brk
    count = megabytes * 1024 * 1024 // len(one)
    with open(f"{sys.argv[1]}/source-{name}.dvl", "wb") as out:
        out.write(one * count)
PY
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

mkdir -p "$WINEPREFIX/drive_c/Bench"
cp "$WINE_PROGRAM/dorvane.exe" "$WINE_BUILD/bench/MinimalTray.exe" \
  "$WINE_BUILD/bench/MinimalHandler.exe" "$WINEPREFIX/drive_c/Bench/"
key='HKLM\SOFTWARE\Kestrome\Dorvane\4.0'
setting() { wine reg add "$key" /v "$1" /t "$2" /d "$3" /f >/dev/null 2>&1; }
setting Drives REG_SZ A
setting Sound REG_SZ NoSound
setting WindowsSound REG_SZ Exclamation
setting SoundFile REG_SZ ''
setting Logging REG_DWORD 1
setting LogFile REG_SZ "$(winpath "$logs")\\dvn.dvl"
setting NoDialog REG_DWORD 1
# The removable drives' option on: each answer also asks which drives
# exist and their types, and so does the anchor it is measured against.
setting RemovableDrives REG_DWORD 1
export REMOVABLE_DRIVES=1

echo "make bench: $WINE_BITS_NOTE under $(wine --version 2>/dev/null), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for exe in build/win32/dorvane.exe "$WINE_PROGRAM/dorvane.exe"; do
  [ -f "$exe" ] && echo "size of $exe: $(stat -c %s "$exe") bytes ($(( ($(stat -c %s "$exe") + 1023) / 1024 )) KB)"
done
echo

export BENCH_PROGRAM='C:\Bench\dorvane.exe'
export BENCH_ANCHORS='C:\Bench\'
export BENCH_LOGS="$(winpath "$logs")"
export BENCH_MEDIA="$(winpath "$media")"
export BENCH_DESKTOP=bench
# On a virtual machine the host may take CPU time from it (steal), and
# then every figure spreads; the share taken during the run is printed, so
# that a reader can tell a slow machine from a slow program.
cpu_times() { head -1 /proc/stat; }
before=$(cpu_times)
(cd "$WINE_BUILD/bench" && wine bench.exe 2>&1) | tr -d '\r'
status=${PIPESTATUS[0]}
python3 - "$before" "$(cpu_times)" <<'PY'
import sys
before, after = ([int(x) for x in line.split()[1:]] for line in sys.argv[1:3])
spent = [b - a for a, b in zip(before, after)]
if sum(spent) > 0 and len(spent) > 7:
    print(f"CPU time the host took from this machine during the run (steal): "
          f"{100.0 * spent[7] / sum(spent):.0f}%")
PY
wineserver -k >/dev/null 2>&1
rm -f "$logs"/*.dvl "$logs"/*.copy "$logs"/*.tmp
exit "$status"
