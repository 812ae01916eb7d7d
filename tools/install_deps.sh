#!/usr/bin/env bash
# Installs every Debian package the build, the game and its tests need.
# Skips apt entirely when dpkg already sees all of them.
QUELL_PACKAGES=(
  build-essential cmake pkg-config
  libsdl1.2-dev libsdl-mixer1.2-dev liblua5.1-0-dev lua5.1 swig libtinyxml-dev
  libglew-dev libboost-dev libboost-thread-dev libboost-chrono-dev libgtest-dev libgmock-dev
  libbenchmark-dev libbullet-dev libpng-dev libfreetype-dev fonts-dejavu-core
  xvfb xauth mesa-utils x11-apps xdotool imagemagick sox libx11-dev
)

quell_install_deps() {
  local missing=()
  local pkg
  for pkg in "${QUELL_PACKAGES[@]}"; do
    if ! dpkg -s "$pkg" 2>/dev/null | grep -q '^Status: install ok installed'; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
