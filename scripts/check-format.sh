#!/usr/bin/env bash
# Fails when a C++ source of the repository is not formatted as
# .clang-format describes; `clang-format -i FILE` formats one.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  echo "check-format: not a git checkout, nothing to check"
  exit 0
fi
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "check-format: every C++ source is formatted"
