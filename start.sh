#!/usr/bin/env bash
# Builds Velmorandi, installing what is missing, and starts it on the current folder.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/setup.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$VELMORANDI_ROOT/build"
exec "$VELMORANDI_ROOT/build/app/velmorandi"
