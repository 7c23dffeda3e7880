# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by the set-up scripts: package installation, the build, Xvfb.
# Sourced, not run.

TOLKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages of the arguments that are not installed yet;
# apt's lists are refreshed once, and only when something is missing.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the programs needs; dpkg-dev computes the Debian
# package's dependencies.
BUILD_PACKAGES=(g++ make cmake pkg-config libgtk2.0-dev libx11-dev xvfb gettext dpkg-dev
  libgeographiclib-dev libgps-dev libtomlplusplus-dev)

# Configures and builds into the directory $1, with further CMake options.
build_tree() {
  local dir=$1; shift
  cmake -S "$TOLKA_ROOT" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

# Builds the libFuzzer targets (a tree of their own: they need clang) into
# $TOLKA_ROOT/build-fuzz.
build_fuzz_tree() {
  cmake -S "$TOLKA_ROOT/fuzz" -B "$TOLKA_ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$TOLKA_ROOT/build-fuzz" -j "$(nproc)"
}

# Starts a private X server; sets XVFB_PID and DISPLAY. -noreset: otherwise
# the server resets whenever its last client leaves and refuses a client that
# connects meanwhile.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# What the whole test suite needs beyond the build.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev locales gettext desktop-file-utils groff-base man-db
  valgrind clang libfuzzer-14-dev libclang-rt-14-dev python3 python3-pyatspi at-spi2-core
  libatk-adaptor libgail-common dbus-daemon dbus-bin procps xclip lintian appstream reuse
  gpsd gpsd-clients gdal-bin libc-l10n)

# Generates the locales the tests run under, where they are missing, and
# lists them in /etc/locale.gen: locale-gen rebuilds every locale from that
# list, and would remove any that only localedef made.
ensure_locales() {
  local name input charset
  for name in "$@"; do                       # e.g. fr_FR.UTF-8
    input=${name%%.*}
    charset=${name#*.}
    if [ -f /etc/locale.gen ] && ! grep -qxF "$name $charset" /etc/locale.gen; then
      echo "$name $charset" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    locale -a 2>/dev/null | grep -qix "${input}.$(echo "$charset" | tr -d '-')" && continue
    echo "Generating the locale $name"
    as_root localedef -i "$input" -f "$charset" "$name"
  done
}
