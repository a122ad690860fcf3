# Sourced by the side-by-side scripts: measure COMMAND... prints the best wall
# time of $runs runs (seconds) and the highest peak RSS among them (KB).
# Needs $runs and a scratch folder $work.
measure() {
  local best=999999 peak=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>&1
    local out t m
    out=$(tail -1 "$work/time.txt")
    t=${out% *} m=${out#* }
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $peak"
}
