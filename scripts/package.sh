#!/usr/bin/env bash
# Builds the portable distribution: Sonoraflux-<version>-win64.zip with the
# program, the encoder library and its licence, the sample list and folders,
# and LISEZMOI.txt. Prints the path of the zip.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows --target package_zip >/dev/null || {
  echo "package: the build failed" >&2
  exit 1
}
cat build/windows/package/zip-path.txt
