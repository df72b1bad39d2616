#!/usr/bin/env bash
# Builds Velmorandi and its tests, installing what is missing, and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/setup.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_optional_packages "the Wayland test" "${WAYLAND_TEST_PACKAGES[@]}"
ensure_optional_packages "the screen reader test" "${WAYLAND_TEST_PACKAGES[@]}" \
    "${SCREEN_READER_TEST_PACKAGES[@]}"
configure_and_build "$VELMORANDI_ROOT/build"
ctest --test-dir "$VELMORANDI_ROOT/build" --output-on-failure -j2
