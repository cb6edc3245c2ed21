#!/usr/bin/env bash
# ./run.sh [ARGS]: installs what is missing, builds and runs Quillon.
#   ./run.sh                 the main window
#   ./run.sh FILE.txt        prints one barcode per line of FILE.txt, then ends
#   ./run.sh --help          the other command-line forms
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/common.sh
source "$here/scripts/common.sh"
ensure_packages "${QUILLON_BUILD_PACKAGES[@]}"
build_project quillon
exec "$here/build/quillon" "$@"
