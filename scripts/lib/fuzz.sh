# Shared by scripts/fuzz and scripts/test: the fuzz targets of build/fuzz and how one is run.
# Every target fuzz/<name>_fuzz.cpp has its seed corpus in fuzz/corpus/<name>/; runs write new
# inputs and crashes under build/fuzz-work/, never into the repository.
ZQ_FUZZ_BIN=$ZQ_BUILD/fuzz/fuzz
ZQ_FUZZ_WORK=$ZQ_BUILD/fuzz-work

# The targets, named after their sources (a target that failed to build is still listed).
zq_fuzz_targets() {
  local source
  for source in "$ZQ_ROOT"/fuzz/*_fuzz.cpp; do
    [ -f "$source" ] && basename "$source" _fuzz.cpp
  done
}

# Runs every input of the target's corpus once. Log: build/logs/fuzz-<name>-replay.log.
zq_fuzz_replay() { # name
  local name=$1 corpus=$ZQ_ROOT/fuzz/corpus/$1
  local log=$ZQ_BUILD/logs/fuzz-$name-replay.log
  local inputs=("$corpus"/*)
  [ -e "${inputs[0]}" ] || { echo "fuzz $name: no corpus in $corpus" >"$log"; return 1; }
  nice -n 19 "$ZQ_FUZZ_BIN/${name}_fuzz" -timeout=10 "${inputs[@]}" >"$log" 2>&1
}

# Fuzzes the target for `seconds`, starting from its corpus; new inputs go to `scratch`.
# Further arguments go to libFuzzer (say -seed=1). Log: build/logs/fuzz-<name>.log.
# Prints one line: executions, executions per second, new inputs, and the crash file if any.
zq_fuzz_run() { # name seconds scratch [libFuzzer options...]
  local name=$1 seconds=$2 scratch=$3
  shift 3
  local log=$ZQ_BUILD/logs/fuzz-$name.log
  mkdir -p "$scratch"
  nice -n 19 "$ZQ_FUZZ_BIN/${name}_fuzz" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/" "$@" \
    "$scratch" "$ZQ_ROOT/fuzz/corpus/$name" >"$log" 2>&1
  local rc=$?
  local execs rate added crash
  execs=$(awk '/^stat::number_of_executed_units:/ {print $2}' "$log")
  rate=$(awk '/^stat::average_exec_per_sec:/ {print $2}' "$log")
  added=$(awk '/^stat::new_units_added:/ {print $2}' "$log")
  crash=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | head -1)
  printf 'fuzz %-10s %4ss  %10s executions  %7s/s  %4s new inputs%s\n' "$name" "$seconds" \
    "${execs:-?}" "${rate:-?}" "${added:-?}" "${crash:+  CRASH: $crash}"
  if [ "$rc" -ne 0 ]; then
    grep -aE 'fuzz check failed|runtime error|ERROR: (AddressSanitizer|libFuzzer)|SUMMARY' "$log" |
      head -5
  fi
  return "$rc"
}
