#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, AddressSanitizer,
# UBSan) and runs each, one at a time, at low priority:
#   fuzz.sh [short] [target...]  15 s each (FUZZ_SECONDS), as scripts/test.sh does
#   fuzz.sh long [target...]     each until 10 million executions (FUZZ_RUNS) or
#                                an hour (FUZZ_SECONDS), whichever comes first,
#                                shared among FUZZ_JOBS processes (default 1)
#                                working on the same corpus; FUZZ_MAX_LEN bounds
#                                the input size (libFuzzer's default otherwise)
# Any finding fails the run; its input is kept under build/fuzz/findings/.
# Inputs that reach new code are kept under build/fuzz/work/ for the next run.
# Ends with "fuzz: N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=short
if [ "${1:-}" = short ] || [ "${1:-}" = long ]; then mode=$1; shift; fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(url_drop list mp3_input wave_header stream)
if [ $mode = long ]; then
  seconds=${FUZZ_SECONDS:-3600}
  runs=${FUZZ_RUNS:-10000000}
else
  seconds=${FUZZ_SECONDS:-15}
  runs=-1
fi

if ! { cmake --preset fuzz >/dev/null && cmake --build --preset fuzz; }; then
  echo "fuzz: the build failed" >&2
  echo "fuzz: 0 passed, ${#targets[@]} failed"
  exit 1
fi

build=$root/build/fuzz
mkdir -p "$build/findings"
passed=0
failed=0
for t in "${targets[@]}"; do
  exe=$build/fuzz/fuzz_$t
  if [ ! -x "$exe" ]; then
    echo "fuzz: no target $t" >&2
    failed=$((failed + 1))
    continue
  fi
  mkdir -p "$build/work/$t"
  jobs=1
  [ $mode = long ] && jobs=${FUZZ_JOBS:-1}
  job_runs=$runs
  [ "$runs" -gt 0 ] && job_runs=$(((runs + jobs - 1) / jobs))
  rm -f "$build/findings/$t".[0-9]*.log
  rc=0
  pids=()
  for j in $(seq 1 "$jobs"); do
    log=$build/findings/$t.log
    [ "$jobs" -gt 1 ] && log=$build/findings/$t.$j.log
    nice -n 19 "$exe" -max_total_time="$seconds" -runs="$job_runs" ${FUZZ_MAX_LEN:+-max_len=$FUZZ_MAX_LEN} \
      -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$t-" "$build/work/$t" "$build/corpus/$t" >"$log" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || rc=1; done
  logs=("$build/findings/$t.log")
  [ "$jobs" -gt 1 ] && logs=("$build/findings/$t".[0-9]*.log)
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "${logs[@]}" | awk '{ n += $1 } END { print n + 0 }')
  if [ $rc = 0 ]; then
    echo "fuzz: $t passed, $executions executions in $(sed -n 's/.*Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "${logs[@]}" | sort -n | tail -n 1) s, $jobs process(es)"
    passed=$((passed + 1))
  else
    echo "fuzz: $t FAILED after $executions executions (logs: ${logs[*]})" >&2
    grep -h -E 'fuzz check failed|ERROR: |runtime error|SUMMARY|Test unit written' "${logs[@]}" | head -n 8 >&2
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ $failed = 0 ]
