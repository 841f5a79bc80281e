#!/usr/bin/env bash
# The card printed by the Windows build must be the card the Linux build prints. The installer
# installs the program silently under Wine; the program starts on a data folder made by the
# companion-format writer; "Esedékes" and "Nyomtatás" are pressed with their keys, as a user
# does, and the page goes through Wine's printing to a CUPS queue that writes PDF. The Linux
# build prints the same card the same way, and every word and its place must agree.
#   printed_card_test.sh LINUX_BUILD WINDOWS_BUILD WORK_DIR
# The caller provides WINEPREFIX (a prefix of this run's own) and DISPLAY (an X server).
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
queue=velunorh-card
installer=$(ls "$windows"/Velunorh-*-setup.exe 2>/dev/null | head -n1 || true)

for built in "$linux/ui/velunorh" "$linux/tools/companion_writer" "$installer"; do
  [ -x "$built" ] || [ -f "$built" ] || { echo "not built: $built" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work/data" "$work/out"
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  "$root/scripts/cups-test-queue.sh" stop "$work/cups" || true
}
trap cleanup EXIT

# A scheduler of the test's own; Wine's printing reaches it through libcups, as lp does.
"$root/scripts/cups-test-queue.sh" start "$work/cups" "$queue" "$work/out/card.pdf"
export CUPS_SERVER=$work/cups/cups.sock PRINTER=$queue

# One publisher with a report in every month and a telephone number with a hyphen.
{
  echo "[current]"
  echo "publisher"
  echo "given Anna"
  echo "family Kovács"
  echo "id 11"
  echo "born 03021970"
  echo "immersed 05141995"
  echo "address Fő utca 1."
  echo "home-phone 06-1-234-5678"
  for m in 1 2 3 4 5 6 7 8 9 10 11 12; do
    echo "month $m new hours=$((20 + m)) placements=$((40 + m)) returnvisits=$((60 + m))"
  done
} >"$work/congregation.txt"
"$linux/tools/companion_writer" "$work/congregation.txt" "$work/data" >/dev/null

# Waits for a window of `pid`'s program, gives it the keyboard and presses the buttons'
# shortcuts: Alt+D ticks the due lines (all of them on a card never printed), Alt+N prints.
press_and_print() {
  local name=$1 window=
  for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { echo "no window named \"$name\" appeared" >&2; return 1; }
  sleep 2  # the previews are drawn after the window shows
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers alt+d
  sleep 1
  xdotool key --clearmodifiers alt+n
}

# Waits for the queue to write the page, then moves it to `target`.
collect() {
  local target=$1
  for _ in $(seq 240); do
    [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ -s "$work/out/card.pdf" ] && break
    sleep 0.5
  done
  [ -s "$work/out/card.pdf" ] || { echo "nothing was printed for $target" >&2; return 1; }
  mv "$work/out/card.pdf" "$target"
}

# Closes the program with "Kész" (Alt+K), as a user does, and waits for it to end; the
# uninstaller below must not meet a program that still runs.
close_program() {
  xdotool key --clearmodifiers alt+k
  for _ in $(seq 60); do kill -0 "$app" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$app" 2>/dev/null; then
    echo "the program did not end after Kész" >&2
    kill "$app" 2>/dev/null || true
  fi
  wait "$app" 2>/dev/null || true
  app=
}

# The Linux build, in a folder of its own (its settings file lands beside it).
mkdir -p "$work/linux"
cp "$linux/ui/velunorh" "$work/linux/"
cp -r "$work/data" "$work/linux-data"
(cd "$work/linux-data" && QT_QPA_PLATFORM=xcb exec "$work/linux/velunorh") >"$work/linux.log" 2>&1 &
app=$!
press_and_print "Velunorh"
collect "$work/linux.pdf"
close_program

# The Windows build: installed silently by its installer into the default folder, the data
# folder given for the shortcut's "Start in".
data_win=$("$wine" winepath -w "$work/data" 2>/dev/null | tr -d '\r')
timeout 180 "$wine" "$installer" /S "/DATA=$data_win"
appdata=$("$wine" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
program_dir=$("$wine" winepath -u "$appdata\\Programs\\Velunorh" 2>/dev/null | tr -d '\r')
for f in velunorh.exe uninstall.exe qt.conf Qt6PrintSupport.dll plugins/platforms/qwindows.dll \
         translations/qtbase_hu.qm; do
  [ -f "$program_dir/$f" ] || { echo "the installer did not install $f into $program_dir" >&2; exit 1; }
done
shortcut=$("$wine" winepath -u "$appdata\\..\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Velunorh.lnk" 2>/dev/null | tr -d '\r')
[ -f "$shortcut" ] || { echo "no Start-menu shortcut at $shortcut" >&2; exit 1; }
# Its "Start in" is the data folder (a shortcut keeps its paths as UTF-16 strings, each after
# its length, which may read as a character).
strings -el "$shortcut" | grep -qiF "$data_win" ||
  { echo "the shortcut does not start in $data_win: $(strings -el "$shortcut" | tr '\n' ' ')" >&2; exit 1; }

# The uninstaller keeps the settings file, so a run before in this Wine prefix left its option
# change (below) there: the card is compared at the defaults.
rm -f "$program_dir/velunorh.INI"
timeout 300 "$wine" "$program_dir/velunorh.exe" "$data_win" >"$work/windows.log" 2>&1 &
app=$!
press_and_print "Velunorh"
collect "$work/windows.pdf"
# A changed option ("Családi név elsőként", Alt+C) is saved at the end: the settings file must
# land beside the installed program, in the folder the installer made the user's own.
xdotool key --clearmodifiers alt+c
sleep 0.5
close_program
[ -f "$program_dir/velunorh.INI" ] || { echo "no settings file beside the installed program" >&2; exit 1; }

# The uninstaller removes the program and keeps what the user's work made beside it.
timeout 120 "$wine" "$program_dir/uninstall.exe" /S "_?=$("$wine" winepath -w "$program_dir" | tr -d '\r')"
[ ! -e "$program_dir/velunorh.exe" ] || { echo "the uninstaller left velunorh.exe" >&2; exit 1; }
[ -f "$program_dir/velunorh.INI" ] || { echo "the uninstaller removed the settings file" >&2; exit 1; }

python3 "$here/compare_card_words.py" "$work/linux.pdf" "$work/windows.pdf"
