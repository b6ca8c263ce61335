#!/usr/bin/env bash
# Installs everything Kinetra needs to build, run and test, from Debian's packages.
# Idempotent: packages already present are skipped; apt-get update runs at most once.
#   setup.sh               what building, running, testing and benchmarking need
#   setup.sh --build-only  what building and running need (a home server's install)
set -euo pipefail

build_only=false
[ "${1:-}" = "--build-only" ] && build_only=true

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libplist-dev libicu-dev libboost-dev libssl-dev openssl
  libcairo2-dev libfontconfig-dev fonts-dejavu-core libpng-dev libjpeg62-turbo-dev
  nlohmann-json3-dev
)
if ! $build_only; then
  packages+=(
    git clang clang-format libclang-rt-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-aiosmtpd python3-pil
    chromium
  )
  # Node.js and npm run the browser tests; take Debian's only where none is on the PATH already.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

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

$build_only && exit 0

# The browser tests' npm packages (playwright-core; it downloads no browser: the tests use
# Debian's chromium). Skipped when node_modules was installed from the same lock file.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -f "$root/package.json" ]; then
  stamp="$root/node_modules/.kinetra-setup-stamp"
  if [ -f "$root/package-lock.json" ]; then
    wanted="$(sha256sum "$root/package-lock.json" | cut -d' ' -f1)"
    if [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
      echo "setup: npm ci"
      (cd "$root" && npm ci --no-audit --no-fund)
      echo "$wanted" >"$stamp"
    fi
  elif [ ! -d "$root/node_modules" ]; then
    echo "setup: npm install"
    (cd "$root" && npm install --no-audit --no-fund)
  fi
fi
