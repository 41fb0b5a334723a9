#!/bin/sh
# The Windows build's test suites under Wine, one after another; runs inside xvfb-run, since some open windows.
# Usage: WINEPREFIX=DIR wine_suites.sh TESTS_DIR
set -eu
. "$(dirname "$0")/wine_env.sh"
trap wine_done EXIT
for suite in "$1"/*_tests.exe; do
  echo "$(basename "$suite"):"
  "$wine" "$suite" --gtest_brief=1
done
