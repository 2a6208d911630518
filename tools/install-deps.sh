#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when
# they are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-14-dev            # fuzzing and the second compiler
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev                          # reading reference pictures in tests
  libfreetype-dev fonts-dejavu-extra  # rendering digits for the reference strip and sample notes
  qt6-base-dev                        # the desktop window
  libsane-dev                         # scanner access
  sane-utils                          # scanimage: the scanner tests compare their pictures with SANE's own front end
  locales                             # the Russian locale for decimal-separator tests
  parallel                            # GNU parallel: the README's shards over many machines, and their test
)
if [ "${MORVEX_WITH_X:-0}" = 1 ]; then packages+=(xvfb xauth x11-utils xdotool imagemagick); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests check the decimal separator under a Russian locale; make it when it is missing.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || echo "note: could not make the ru_RU.UTF-8 locale; those checks will skip"
fi
