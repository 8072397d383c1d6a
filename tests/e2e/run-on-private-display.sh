#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) inside its own session bus, where the
# accessibility bus starts on demand, with a private home. The server picks a free display itself, so test
# runs side by side never take each other's display.
set -euo pipefail

for tool in Xvfb dbus-run-session xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

work=$(mktemp -d)
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/private-xvfb.sh"
start_private_xvfb "$work" || exit 1
# A session of our own: a fresh bus, no settings from the desktop we may run inside.
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# And a home of our own. The desktop keeps its settings (among them whether a screen reader
# runs, which the accessibility bus reports to every program) in the user's dconf database
# under the home; a user who runs a screen reader must neither see the tests fail for it
# nor find settings changed by them.
unset DCONF_PROFILE GSETTINGS_BACKEND
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_STATE_HOME="$work/home/.local/state"
mkdir -p -m 700 "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
set +e
dbus-run-session -- "$@" 2> >(grep -v -e 'Failed to set fd limit' -e 'Activating service' \
                                        -e 'Successfully activated' >&2)
status=$?
[ $status -eq 0 ] || [ $status -eq 77 ] || { echo "--- Xvfb said:" >&2; cat "$work/xvfb.log" >&2; }
exit $status
