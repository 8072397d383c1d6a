#!/usr/bin/env bash
# The proof that the package's Depends is complete, outside CI because it takes minutes and
# a Debian mirror: debootstraps a fresh, minimal Debian 12 root, installs the package there
# with apt (no recommended packages), and starts the program there: --version first, then,
# with only Xvfb and xdotool added, a start on a virtual display until its first help box
# shows, the main window after it, and Alt+F4 to end it with its settings saved; last,
# apt purges it and none of its files may be left.
#   scripts/check-deb-in-fresh-root.sh [PACKAGE.deb]    (default: scripts/build-deb.sh builds it)
# Runs as root (chroot, mounts); the mirror is the one apt on this machine uses.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
command -v debootstrap >/dev/null || { echo "needs debootstrap (apt-get install debootstrap)"; exit 1; }
deb=$(realpath "${1:-$(scripts/build-deb.sh build-deb)}")

suite=bookworm
mirror_of() { apt-cache policy | awk -v want="$1/main" '$3 == want && $2 ~ /^https?:/ {print $2; exit}'; }
mirror=$(mirror_of $suite)
security=$(mirror_of $suite-security)
[ -n "$mirror" ] || { echo "apt has no source for $suite/main"; exit 1; }

root=$(mktemp -d /var/tmp/kadeno-root.XXXXXX)
chmod 755 "$root" # apt's download user reads its cache in there
cleanup() {
  for m in "$root/dev/pts" "$root/dev/shm" "$root/proc"; do mountpoint -q "$m" && umount "$m"; done
  # Nothing of this machine may still be mounted in there when it goes.
  if ! grep -q " $root/" /proc/mounts; then rm -rf "$root"; else echo "left $root: still mounted"; fi
}
trap cleanup EXIT
in_root() { chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/games:/usr/sbin:/sbin \
  DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

echo "== debootstrap $suite (minbase) from $mirror"
start=$SECONDS
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -n 20 "$root.log"; exit 1; }
rm -f "$root.log"
echo "   $((SECONDS - start)) s"
# The sources of a fresh Debian 12 install: the release, its updates and its security fixes.
{
  printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: main\n' "$mirror" $suite $suite
  printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
  if [ -n "$security" ]; then
    printf '\nTypes: deb\nURIs: %s\nSuites: %s-security\nComponents: main\n' "$security" $suite
    printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
  fi
} >"$root/etc/apt/sources.list.d/debian.sources"
rm -f "$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t tmpfs tmpfs "$root/dev/shm"
mount -t devpts -o newinstance devpts "$root/dev/pts"
cp "$deb" "$root/tmp/"

echo "== apt install ./$(basename "$deb")"
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" >/dev/null
in_root dpkg-query -W -f='   installed ${Package} ${Version}\n' kadeno

echo "== kadeno --version"
in_root kadeno --version
in_root kadeno --help >/dev/null

echo "== a start on a virtual display (adds xvfb, xauth and xdotool only)"
in_root apt-get install -y -qq --no-install-recommends xvfb xauth xdotool >/dev/null
cat >"$root/tmp/first-box.sh" <<'EOF_INNER'
set -u
export HOME=/tmp/home XDG_CONFIG_HOME=/tmp/home/.config KADENO_MIDI_OUT=log:/tmp/midi.log
mkdir -p "$HOME"
kadeno 2>/tmp/kadeno.err &
pid=$!
find_window() { timeout 60 xdotool search --sync --onlyvisible --limit 1 --name "^$1\$"; }
box=$(find_window "Kadeno Help") || { echo "FAIL: no help box"; cat /tmp/kadeno.err; exit 1; }
echo "   the first help box shows"
xdotool windowfocus --sync "$box" key Escape
main=$(find_window "Kadeno: Musical Tumbla") || { echo "FAIL: no main window"; exit 1; }
echo "   Escape answered it; the main window shows"
xdotool windowfocus --sync "$main" key alt+F4
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { echo "FAIL: still running after Alt+F4"; kill $pid; exit 1; }
wait $pid
status=$?
echo "   Alt+F4 ended it with status $status"
[ $status -eq 0 ] || exit 1
[ -s "$XDG_CONFIG_HOME/kadeno/Kadeno.ini" ] || { echo "FAIL: no settings saved"; exit 1; }
echo "   its settings file saved, $(wc -l <"$XDG_CONFIG_HOME/kadeno/Kadeno.ini") lines"
EOF_INNER
in_root xvfb-run -a sh /tmp/first-box.sh

echo "== apt purge kadeno"
files=$(in_root dpkg-query -L kadeno | while read -r f; do [ -f "$root$f" ] && echo "$f"; done || true)
in_root apt-get purge -y -qq kadeno >/dev/null
left=$(for f in $files; do [ -f "$root$f" ] && echo "$f"; done || true)
[ -z "$left" ] || { echo "FAIL: left behind: $left"; exit 1; }
echo "   none of its $(wc -w <<<"$files") files is left"
echo "fresh $suite root: the package installs with apt, the game starts, and it uninstalls"
