#!/usr/bin/env bash
# Installs everything Kinetra needs to build, run and test, from Debian's packages.
# Idempotent: packages already present are skipped; apt-get update runs at most once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  clang clang-format libclang-rt-dev
  libplist-dev libicu-dev libboost-dev libssl-dev openssl
  libcairo2-dev libfontconfig-dev fonts-dejavu-core libpng-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  python3 python3-aiosmtpd python3-pil
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
