# Sourced by the scripts that run the program on a display of its own. start_private_xvfb
# WORK starts Xvfb on a free display, sets `xvfb` to its pid and exports DISPLAY; its
# messages go to WORK/xvfb.log. Returns 1 when none starts.
# The server picks the display itself (-displayfd) and writes its number to WORK/display
# once it listens. Picking a number here instead raced with tests starting beside it: a
# second server started on a taken display removes the first one's socket as it fails,
# and everything that connects to the first one afterwards fails.
start_private_xvfb() {
  local n
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb=$!
  for _ in $(seq 300); do
    n=$(sed -n '1{/^[0-9][0-9]*$/p}' "$1/display")
    if [ -n "$n" ] && DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=
  echo "Xvfb did not start:"
  cat "$1/xvfb.log"
  return 1
}
