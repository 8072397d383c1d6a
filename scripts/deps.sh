#!/usr/bin/env bash
# Installs the Debian 12 packages Kadeno needs when any is missing.
#   scripts/deps.sh run    what building and playing needs
#   scripts/deps.sh deb    that, plus what building the Debian package needs
#   scripts/deps.sh test   that, plus what the tests, sanitizers, fuzzers, the
#                          end-to-end screen-reader tests (Orca among them) and the package checks need
set -euo pipefail

run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev
  libfluidsynth-dev libsndfile1-dev libpulse-dev timgm6mb-soundfont
  libspeechd-dev gettext qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
)
deb_packages=(dpkg-dev file appstream)
test_packages=(
  clang libclang-rt-14-dev clang-format clang-tidy
  xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi xdotool python3-polib
  orca speech-dispatcher speech-dispatcher-espeak-ng openbox libglib2.0-bin dconf-gsettings-backend
  g++-mingw-w64-x86-64 wine64 zip nsis
  espeak-ng sox valgrind
  pulseaudio pulseaudio-utils libxml2-utils
  lintian appstream desktop-file-utils man-db
)

want=("${run_packages[@]}")
case "${1:-run}" in
  deb) want+=("${deb_packages[@]}") ;;
  test) want+=("${deb_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
