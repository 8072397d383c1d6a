#!/usr/bin/env bash
# The end-to-end tests run in a home of their own. A user who runs a screen reader has it
# on in the desktop settings of their home (dconf), which the accessibility bus reports to
# every program: such a user must neither see the tests fail for it nor find the setting
# changed by them. Exit code 77 means a tool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v gsettings >/dev/null || { echo "SKIP: gsettings is not installed"; exit 77; }

user=$(mktemp -d)
trap 'rm -rf "$user"' EXIT
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME DCONF_PROFILE GSETTINGS_BACKEND
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export HOME="$user/home" XDG_RUNTIME_DIR="$user/runtime"
mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"
dbus-run-session -- sh -c 'gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true &&
                           gsettings set org.gnome.desktop.interface toolkit-accessibility true' 2>/dev/null
db="$HOME/.config/dconf/user"
[ -f "$db" ] || { echo "SKIP: gsettings keeps no dconf database (dconf-gsettings-backend missing)"; exit 77; }
before=$(md5sum <"$db")

"$here/run-on-private-display.sh" /usr/bin/python3 - "$user" <<'PY'
import os, sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
enabled = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
                        GLib.Variant("(ss)", ("org.a11y.Status", "IsEnabled")), None,
                        Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
home = os.path.realpath(os.environ["HOME"])
problems = (["the session announces a screen reader"] if enabled else []) + \
           (["HOME is the user's"] if home.startswith(os.path.realpath(sys.argv[1])) else [])
Gio.Settings.new("org.gnome.desktop.a11y.applications").set_boolean("screen-reader-enabled", False)
Gio.Settings.sync()
print("FAIL: " + "; ".join(problems) if problems else "the private home has no screen reader on")
sys.exit(1 if problems else 0)
PY

[ "$(md5sum <"$db")" = "$before" ] || { echo "FAIL: the user's desktop settings were changed"; exit 1; }
echo "private home: passed"
