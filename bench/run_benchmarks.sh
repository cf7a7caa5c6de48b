#!/usr/bin/env bash
# Runs every benchmark program given, each to its end whatever the others do, and ends
# with one line: how many of the figures judged against their limits are over them,
# and which benchmarks stopped without their verdicts (also written to
# benchmark_summary.txt in the folder it runs in). Each benchmark's last line counts
# its verdicts ("verdicts: 7 figures, 1 over the limit", timing.h).
set -u
figures=0
over=0
failed=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for program in "$@"; do
    name=$(basename "$program")
    echo "== $name"
    # The offscreen platform's notes on window placement say nothing about the figures.
    QT_QPA_PLATFORM=offscreen "$program" 2> >(grep -v 'This plugin does not support' >&2) | tee "$log"
    status=${PIPESTATUS[0]}
    verdict=$(grep -E '^verdicts: [0-9]+ figures, [0-9]+ over the limit$' "$log" | tail -n 1)
    if [[ -n $verdict ]]; then
        read -r judged beyond < <(sed -E 's/^verdicts: ([0-9]+) figures, ([0-9]+) over.*/\1 \2/' <<<"$verdict")
        figures=$((figures + judged))
        over=$((over + beyond))
    fi
    if [[ $status -ne 0 || -z $verdict ]]; then failed+=("$name (exit $status)"); fi
done
summary="benchmarks: $over of $figures figures over their limits"
if [[ ${#failed[@]} -gt 0 ]]; then
    summary+="; ${#failed[@]} stopped before their verdicts: ${failed[*]}"
fi
echo "$summary"
echo "$summary" >benchmark_summary.txt   # for `make bench` to end with
