#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) inside its own session bus, where the
# accessibility bus starts on demand, with a home of its own: the desktop settings of the
# user's home (dconf) may say that a screen reader runs, and must neither be read nor
# changed. Exit code 77: a tool is missing.
set -euo pipefail
for tool in Xvfb dbus-run-session xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

work=$(mktemp -d)
# Daemons started for the session (a speech service spawned by the screen reader) outlive
# its bus: whatever names the private folder goes with it.
trap '[ -n "${xvfb:-}" ] && kill "$xvfb" && wait "$xvfb"; pkill -f -- "$work/"; rm -rf "$work"' EXIT
. "$(dirname "$0")/private-xvfb.sh"
start_private_xvfb "$work" || exit 1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS DCONF_PROFILE GSETTINGS_BACKEND
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export XDG_DATA_HOME="$work/home/.local/share" XDG_CACHE_HOME="$work/home/.cache"
export XDG_STATE_HOME="$work/home/.local/state"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
set +e
dbus-run-session -- "$@" 2> >(grep -v -e 'Failed to set fd limit' -e 'Activating service' \
                                        -e 'Successfully activated' >&2)
status=$?
[ $status -eq 0 ] || [ $status -eq 77 ] || { echo "--- Xvfb said:" >&2; cat "$work/xvfb.log" >&2; }
exit $status
