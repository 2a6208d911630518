#!/usr/bin/env bash
# Screenshots of the desktop window as a user sees it: runs the real
# morvex-demo on a virtual X display (Xvfb), drives it with xdotool and saves
# PNG pictures of the splash, the main window after the file command, the
# progress window during a folder run, the main window after that run and
# with the help page open, and the scan command: the scanner selection, the
# source's dialog with its preview and the main window after the scan (SANE's
# test and pnm devices, through the dll.conf the scanner tests use).
#
#   tools/screenshots.sh BUILD_DIR      (make screenshots runs it)
#
# Needs Xvfb, xdotool and ImageMagick's import; xdotool is installed here
# when missing.
set -euo pipefail

build=${1:?usage: tools/screenshots.sh BUILD_DIR}
build=$(cd "$build" && pwd)
exe=$build/app/gui/morvex-demo
notegen=$build/tools/notegen/morvex-notegen
out=$build/screenshots
for tool in "$exe" "$notegen"; do
  [ -x "$tool" ] || { echo "screenshots: $tool is missing; build first (make build)" >&2; exit 1; }
done
if ! command -v xdotool >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends xdotool >/dev/null
fi
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A few sample notes to work on.
notes=$work/notes
"$notegen" --out "$notes" --set typical --seed 20240601 --count 16 >/dev/null
# Copies under names that keep the template's fields make the folder run
# last long enough to be photographed half done.
for f in "$notes"/Note-*.bmp; do
  for k in 1 2 3 4 5; do cp "$f" "${f%.bmp}_$k.bmp"; done
done
rm -rf "$out"
mkdir -p "$out"

# The virtual screen.
screen_w=1024 screen_h=768
display_no=$((90 + RANDOM % 9))
Xvfb ":$display_no" -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_no"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
unset QT_QPA_PLATFORM

# The visible window of the program that has this size, if any.
window_of_size() {
  local want=$1 id
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    if xwininfo -id "$id" 2>/dev/null | awk -v want="$want" '
        /Width:/ {w=$2} /Height:/ {h=$2} END {exit !(w "x" h == want)}'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

wait_window() {
  local size=$1 id
  for _ in $(seq 600); do
    id=$(window_of_size "$size") && { echo "$id"; return 0; }
    sleep 0.05
  done
  echo "screenshots: no $size window appeared" >&2
  return 1
}

# Waits until the program has used no processor time for a while: the
# command it was given has finished.
wait_idle() {
  local last now still=0
  last=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
  while [ "$still" -lt 6 ]; do
    sleep 0.1
    now=$(awk '{print $14 + $15}' "/proc/$app_pid/stat")
    if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; fi
    last=$now
  done
}

shoot_root() {  # file x y w h
  import -window root -crop "${4}x${5}+${2}+${3}" +repage "$out/$1"
  echo "  $out/$1"
}

click() {  # x y, relative to the main window
  xdotool mousemove $((main_x + $1)) $((main_y + $2)) click 1
}

# The scan command reaches SANE's test device; the scanner is remembered in a
# configuration folder of this run.
sane_config=$build/tests/sane/sane-config
export SANE_CONFIG_DIR="$sane_config:" XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/morvex"
echo "test:0" >"$XDG_CONFIG_HOME/morvex/scanner"

start_program() {
  (cd "$notes" && exec "$exe") >"$work/app.log" 2>&1 &
  app_pid=$!
}

echo "Screenshots in $out:"

# The splash shows for a tenth of a second or so: the program is stopped the
# moment it has painted, photographed and let go on.
splash_taken=0
for _attempt in 1 2 3 4 5; do
  start_program
  if id=$(wait_window 600x445); then
    sleep 0.03
    kill -STOP "$app_pid"
    if window_of_size 600x445 >/dev/null && ! window_of_size 772x588 >/dev/null; then
      shoot_root 1-splash.png $(((screen_w - 600) / 2)) $(((screen_h - 445) / 2)) 600 445
      splash_taken=1
    fi
    kill -CONT "$app_pid"
  fi
  [ "$splash_taken" = 1 ] && break
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
done
[ "$splash_taken" = 1 ] || { echo "screenshots: could not catch the splash" >&2; exit 1; }

main_id=$(wait_window 772x588)
main_x=$(((screen_w - 772) / 2))
main_y=$(((screen_h - 588) / 2))
wait_idle
shoot_root 2-start.png "$main_x" "$main_y" 772 588

# Select a note showing its number in the file list, then "Обработать файл".
click 40 355
wait_idle
click 71 48
wait_idle
shoot_root 3-file-command.png "$main_x" "$main_y" 772 588

# "Обработать каталог": the progress window during the run, then the result.
click 208 48
progress_id=$(wait_window 399x253)
# A run is short: hold the program still while the progress window is photographed.
sleep 0.05
kill -STOP "$app_pid"
shoot_root 4-progress.png "$main_x" "$main_y" 772 588
kill -CONT "$app_pid"
wait_idle
while window_of_size 399x253 >/dev/null; do sleep 0.2; done
wait_idle
shoot_root 5-folder-command.png "$main_x" "$main_y" 772 588

# "Справка".
click 719 48
wait_idle
shoot_root 6-help.png "$main_x" "$main_y" 772 588

# "Обработать скан": the selection (the remembered test:0 preselected) and
# the source's dialog as they open, then closed.
shoot_window() {  # file window-id
  import -window "$2" "$out/$1"
  echo "  $out/$1"
}
press() {  # window-id key: the key to that window, with the focus on it
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key "$2"
}
newest_window() {  # a window of the program other than the main window
  local id
  for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | sort -rn); do
    [ "$id" = "$main_id" ] && continue
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && { echo "$id"; return 0; }
  done
  return 1
}
if [ -f "$sane_config/dll.conf" ]; then
  click 491 48
  selection_id=""
  for _ in $(seq 100); do selection_id=$(newest_window) && break; sleep 0.1; done
  if [ -n "$selection_id" ]; then
    sleep 1.5  # the search for scanners
    wait_idle
    shoot_window 7-scanner-selection.png "$selection_id"
    press "$selection_id" Return
    source_id=""
    for _ in $(seq 100); do
      source_id=$(newest_window) && [ "$source_id" != "$selection_id" ] && break
      source_id=""
      sleep 0.1
    done
    if [ -n "$source_id" ]; then
      wait_idle
      shoot_window 8-scanner-source.png "$source_id"
      # Escape closes the source's dialog; the command ends.
      press "$source_id" Escape
      wait_idle
    else
      echo "screenshots: the source's dialog did not appear" >&2
    fi
  else
    echo "screenshots: the scanner selection did not appear" >&2
  fi
fi

# The source's dialog with a preview and the window after a note was scanned
# through the pnm device: taken offscreen by the end-to-end scan test.
if [ -x "$build/tests/gui/gui_scan_device_tests" ]; then
  QT_QPA_PLATFORM=offscreen MORVEX_SCAN_SHOTS=$out "$build/tests/gui/gui_scan_device_tests" \
    --gtest_filter='*Pnm*' >"$work/scan-shots.log" 2>&1 || echo "screenshots: the scan test failed (see below)" >&2
  for f in 9-scanner-source-preview.png 10-after-scan.png; do
    [ -f "$out/$f" ] && echo "  $out/$f" || { echo "screenshots: $f was not taken" >&2; tail -20 "$work/scan-shots.log" >&2; }
  done
fi

# The close button ends the program.
click $((772 - 4 - 12)) 14
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "screenshots: the close button did not end the program" >&2
  exit 1
fi
app_pid=""
: "$main_id" "$progress_id"
