#!/usr/bin/env bash
# Installs what is missing, builds, and starts Panelkeep on a sample collection
# (made once in the build folder and kept between runs).
source "$(dirname "$0")/common.sh"
install_missing
BUILD="$ROOT/build"
build "$BUILD"
SAMPLE="$BUILD/samples/Sample Collection.pkx"
if [ ! -f "$SAMPLE" ]; then
    mkdir -p "$(dirname "$SAMPLE")"
    "$BUILD/bin/panelkeep-sample" "$SAMPLE"
fi
exec "$BUILD/bin/panelkeep" "$SAMPLE"
