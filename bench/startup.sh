#!/usr/bin/env bash
# Time from process start to a usable entrepreneur panel, with automatic login
# against the demo database and the tips off. Usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-15}
app=$(mktemp -d)
trap 'rm -rf "$app"' EXIT
cp -r "$build/install" "$app/"
cp "$build/logo.jpg" "$build/logo.bmp" "$build/sestavy.rav" "$app/"
# The first run writes kelvarn.ini and the demo database; then switch the tips off and
# put the credentials into the connection string so no dialog waits.
KELVARN_APPDIR=$app KELVARN_UNATTENDED=1 "$build/kelvarn" >/dev/null 2>&1 || true
iconv -f cp1250 -t utf-8 "$app/kelvarn.ini" |
  sed -e 's/^\(Provider=[^\r]*;\)\r*$/\1User ID=administrator;Password=;\r/' \
      -e '/^\[show tips\]/{n;s/.*/NO\r/}' | iconv -f utf-8 -t cp1250 > "$app/kelvarn.ini.new"
mv "$app/kelvarn.ini.new" "$app/kelvarn.ini"
cd "$app"
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  KELVARN_APPDIR=$app KELVARN_EXIT_AFTER_STARTUP=1 QT_QPA_PLATFORM=offscreen "$build/kelvarn" 2>/dev/null ||
    { echo "start-up failed (exit $?)" >&2; exit 1; }
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (runs + 1) / 2 ))p")
echo "start-up to usable entrepreneur panel: median ${median} ms over ${runs} runs (min $(echo "$sorted" | head -1), max $(echo "$sorted" | tail -1))"
