#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free code natively under
# AddressSanitizer/UBSan, the capture engine's thread mode under ThreadSanitizer,
# a short run of each fuzz target (scripts/fuzz.sh),
# then the Windows build under Wine on a private bench.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1

passed=0
failed=0
status=0
run_preset() { # preset
  local preset=$1 log
  log=$(mktemp)
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; }; then
    echo "test: the $preset build failed" >&2
    status=1
    failed=$((failed + 1))
    return
  fi
  ctest --preset "$preset" 2>&1 | tee "$log"
  local summary total nfail
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    status=1
    failed=$((failed + 1))
  else
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    nfail=$(sed -E 's/.*, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - nfail))
    failed=$((failed + nfail))
    [ "$nfail" = 0 ] || status=1
  fi
  rm -f "$log"
}

# Each fuzz target counts as one test: it passes when its run finds nothing.
run_fuzz() {
  local log summary
  log=$(mktemp)
  bash scripts/fuzz.sh short 2>&1 | tee "$log"
  summary=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    status=1
    failed=$((failed + 1))
  else
    passed=$((passed + $(sed -E 's/^fuzz: ([0-9]+) passed.*/\1/' <<<"$summary")))
    local nfail
    nfail=$(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$summary")
    failed=$((failed + nfail))
    [ "$nfail" = 0 ] || status=1
  fi
  rm -f "$log"
}

run_preset native
run_preset tsan
run_fuzz
run_preset windows
echo
echo "$passed passed, $failed failed"
exit $status
