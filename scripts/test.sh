#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test;
# then builds again with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test once more.
source "$(dirname "$0")/common.sh"
install_missing
export QT_QPA_PLATFORM=offscreen
JOBS="$(nproc)"

build "$ROOT/build-test" -DPANELKEEP_WERROR=ON
ctest --test-dir "$ROOT/build-test" --output-on-failure -j "$JOBS"

BUILD_TYPE=Debug build "$ROOT/build-asan" -DPANELKEEP_WERROR=ON -DPANELKEEP_SANITIZE=ON
ctest --test-dir "$ROOT/build-asan" --output-on-failure -j "$JOBS"
