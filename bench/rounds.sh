# Sourced after bench/measure.sh by the scripts that report rounds.
#
# rounds COMMAND...: runs COMMAND $runs times and prints, in one line, the
# median, least and most wall time (seconds), the median CPU time (user +
# system, seconds; what other work on the machine disturbs least) and the
# highest peak RSS (KB).
rounds() {
  : >"$work/rounds.txt"
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1
    tail -1 "$work/time.txt" >>"$work/rounds.txt"
  done
  python3 - "$work/rounds.txt" <<'PY'
import statistics, sys
rows = [list(map(float, line.split())) for line in open(sys.argv[1]) if line.strip()]
wall = [r[0] for r in rows]
cpu = [r[1] + r[2] for r in rows]
print("%.3f %.3f %.3f %.3f %d" % (statistics.median(wall), min(wall), max(wall), statistics.median(cpu),
                                  max(r[3] for r in rows)))
PY
}
