#!/usr/bin/env bash
# Runs Ovelsk in a virtual X display on the bundled demo, switches the radar on,
# and saves a picture of the window and a short animation of the radar's sweep:
#   scripts/screenshot.sh [OUTPUT.png] [SECONDS]
# The animation goes beside the picture, with .gif for .png. SECONDS (default 20)
# is how long the demo fills the list before the radar is switched on. Builds
# first if needed; needs xvfb, xdotool and ImageMagick (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshot.png}")
gif=${out%.png}.gif
seconds=${2:-20}
[ -x build/app/ovelsk ] || scripts/build.sh build >&2
mkdir -p "$(dirname "$out")"

# A fresh host set-up of its own, so the picture shows the bundled demo whatever
# this machine's own host settings say, and they are left alone.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data

export OUT=$out GIF=$gif FRAMES=$scratch/frames SECONDS_TO_RUN=$seconds
mkdir -p "$FRAMES"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
  set -euo pipefail
  build/app/ovelsk >/dev/null &
  pid=$!
  trap "kill -TERM $pid 2>/dev/null || true" EXIT
  # The window is found by its caption; it may take a moment to be mapped.
  window=
  for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --name "^Ovelsk\$" 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no Ovelsk window" >&2; exit 1; }
  sleep "$SECONDS_TO_RUN"

  # The window is laid out in fixed pixels below its menu bar (app/form1.cpp):
  # the client area is 337 pixels high, the radar box at 8,0 (193 by 201), and
  # the Enable RADAR box centred near 23,224.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$((HEIGHT - 337))" >"$FRAMES/menu"
  xdotool mousemove --window "$window" 23 $((HEIGHT - 337 + 224)) click 1
  sleep 1

  # The radar marks a station only in the frame its sweep passes it (70 ms a
  # frame), so as many pictures as can be taken are kept, for 12 seconds.
  end=$((SECONDS + 12))
  n=0
  while [ $SECONDS -lt $end ]; do
    import -window "$window" "$FRAMES/$(printf %04d $n).png"
    n=$((n + 1))
  done
'
frames=("$FRAMES"/*.png)
[ ${#frames[@]} -gt 1 ] || { echo "no pictures taken" >&2; exit 1; }
radar="193x201+8+$(cat "$FRAMES/menu")"

# True when the radar in a picture shows a station's red mark.
marked() { [ "$(convert "$1" -crop "$radar" -fuzz 25% -fill white -opaque red -fill black +opaque white \
                  -format '%[fx:maxima>0.5]' info:)" = 1 ]; }

# The picture is the first one with a marked station (else the last); the
# animation holds each such frame for half a second so the mark can be seen.
still=${frames[-1]}
animation=()
for frame in "${frames[@]}"; do
  if marked "$frame"; then
    [ "$still" = "${frames[-1]}" ] && still=$frame
    animation+=(-delay 50 "$frame")
  else
    animation+=(-delay 7 "$frame")
  fi
done
cp "$still" "$out"
convert "${animation[@]}" -crop "$radar" +repage -loop 0 -colors 16 -layers Optimize "$gif"
echo "$out"
echo "$gif"
