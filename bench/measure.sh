# Sourced by the side-by-side scripts, from the project's root.
#
# bench_setup BUILD-DIR [PACKAGE...]: installs what is missing, then sets
# $cli (our tool), $convert (ImageMagick's own), $work (a scratch folder
# removed on exit) and $runs (RUNS, default 5).
bench_setup() {
  local build=$1; shift
  ./tools/install-deps.sh time "$@"
  cli="$build/cli/kobalto-cli"
  convert=/usr/bin/convert-im6.q16
  [ -x "$convert" ] || convert=/usr/bin/convert
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  runs=${RUNS:-5}
}

# photo WIDTH HEIGHT GRAIN OUTPUT: smooth light with fine noise, like a
# photograph; GRAIN is the noise strength (0.06 faint, 0.15 strong).
photo() {
  "$convert" -seed 7 -size "$1x$2" gradient:'#2060a0-#e0c080' \
    \( -size "$1x$2" xc: +noise Random -channel RGB -evaluate multiply "$3" \) \
    -compose plus -composite "${@:4}"
}

# measure COMMAND...: prints the best wall time of $runs runs (seconds) and
# the highest peak RSS among them (KB).
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

# measure_cpu COMMAND...: as measure, with the best CPU time (user + system,
# which load from other work hardly changes) between them: wall, CPU, peak.
measure_cpu() {
  local best=999999 cpu=999999 peak=0
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1
    local t u s m
    read -r t u s m < <(tail -1 "$work/time.txt")
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
    cpu=$(echo "$u $s $cpu" | awk '{c = $1 + $2; print (c < $3) ? c : $3}')
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $cpu $peak"
}
