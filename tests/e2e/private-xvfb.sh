# Sourced by the scripts that run the program on a display of its own. start_private_xvfb
# WORK starts Xvfb on a free display far from the usual ones (a second server started on a
# taken display removes the first one's socket as it fails), sets `xvfb` to its pid and
# exports DISPLAY; its messages go to WORK/xvfb.log. Returns 1 when none starts.
start_private_xvfb() {
  local n
  for _ in $(seq 20); do
    n=$((RANDOM % 700 + 200))
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp 2>"$1/xvfb.log" &
    xvfb=$!
    for _ in $(seq 100); do
      DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 && export DISPLAY=":$n" && return 0
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=
  done
  echo "Xvfb did not start:"; cat "$1/xvfb.log"; return 1
}
