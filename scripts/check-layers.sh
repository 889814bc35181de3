#!/usr/bin/env bash
# Dependencies point down: a folder includes only its own headers and those of
# folders below it. A test under tests/X includes X and what X may include, the
# test helpers of those folders, and the shared test support (tests/support, a
# layer of its own that may include any folder). Prints each include that points up
# or sideways and fails.
set -uo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([base]=0 [win]=1 [ui]=2 [list]=3 [audio]=3 [desktop]=3 [stream]=3 [tray]=4 [playback]=4
                 [editor]=5 [recorder]=5 [rotation]=5 [app]=6)
bad=0

includes() {
  grep -rnE '^#include "[^"]+/' "$1" --include='*.h' --include='*.cpp' --include='*.rc' || true
}

for dir in "${!rank[@]}"; do
  [ -d "$dir" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [ "$target" = "$dir" ] && continue
    if [ -z "${rank[$target]+x}" ] || [ "${rank[$target]}" -ge "${rank[$dir]}" ]; then
      echo "$file:$line: $dir includes $target"
      bad=1
    fi
  done < <(includes "$dir")
done

for tests in tests/*/; do
  dir=$(basename "$tests")
  while IFS=: read -r file line text; do
    path=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$text")
    target=${path%%/*}
    if [ "$target" = tests ]; then
      folder=$(cut -d/ -f2 <<<"$path")
      [ "$folder" = support ] || [ "$folder" = "$dir" ] && continue
      [ -n "${rank[$dir]+x}" ] && [ -n "${rank[$folder]+x}" ] && [ "${rank[$folder]}" -lt "${rank[$dir]}" ] && continue
      echo "$file:$line: tests/$dir includes tests/$folder"
      bad=1
      continue
    fi
    [ "$dir" = support ] || [ "$target" = "$dir" ] && continue
    if [ -z "${rank[$dir]+x}" ] || [ -z "${rank[$target]+x}" ] || [ "${rank[$target]}" -ge "${rank[$dir]}" ]; then
      echo "$file:$line: tests/$dir includes $target"
      bad=1
    fi
  done < <(includes "$tests")
done

[ $bad = 0 ] && echo "layers: every include points down"
exit $bad
