#!/usr/bin/env bash
# Dependencies point down: a folder includes only its own headers and those of
# folders below it. Prints each include that points up or sideways and fails.
set -uo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([base]=0 [win]=1 [ui]=2 [list]=3 [audio]=3 [desktop]=3 [stream]=3 [tray]=4 [playback]=4
                 [editor]=5 [recorder]=5 [rotation]=5 [app]=6)
bad=0
for dir in "${!rank[@]}"; do
  [ -d "$dir" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [ "$target" = "$dir" ] && continue
    if [ -z "${rank[$target]+x}" ] || [ "${rank[$target]}" -ge "${rank[$dir]}" ]; then
      echo "$file:$line: $dir includes $target"
      bad=1
    fi
  done < <(grep -rnE '^#include "[^/"]+/' "$dir" --include='*.h' --include='*.cpp' --include='*.rc' || true)
done
[ $bad = 0 ] && echo "layers: every include points down"
exit $bad
