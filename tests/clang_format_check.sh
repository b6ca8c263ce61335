#!/usr/bin/env bash
# The C++ sources are clang-format clean.
set -euo pipefail
cd "$1"
find src tests bench tools -name '*.h' -o -name '*.cpp' 2>/dev/null | sort |
  xargs clang-format --dry-run --Werror
echo "clang-format: clean"
