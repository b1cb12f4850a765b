#!/usr/bin/env bash
# Searches a book in xCHM's Search tab under Xvfb and saves a screenshot: a
# manual check of the full-text index in a reader we did not write (not run
# by CTest).
#
#   scripts/xchm-search-screenshot.sh BOOK.chm QUERY OUT.png
#
# xCHM (Unicode build) turns index words into text byte by byte as ISO-8859-1
# and compares them with the query case-insensitively, so a Chinese query
# typed as Chinese never matches. The script therefore types each character
# of QUERY as the ISO-8859-1 reading of its code page 936 bytes, one word per
# character separated by blanks; xCHM then lists the pages holding every
# character. Needs xchm, xvfb-run, xdotool, ImageMagick's import and iconv.
set -euo pipefail
book=$(realpath "${1:?usage: $0 BOOK.chm QUERY OUT.png}")
query=${2:?usage: $0 BOOK.chm QUERY OUT.png}
out=$(realpath -m "${3:?usage: $0 BOOK.chm QUERY OUT.png}")

typed=""
while IFS= read -r -n1 ch; do
  [[ -z $ch ]] && continue
  typed+="$(printf '%s' "$ch" | iconv -f UTF-8 -t GBK | iconv -f ISO-8859-1 -t UTF-8) "
done <<<"$query"

home=$(mktemp -d "${TMPDIR:-/tmp}/xchm-home.XXXXXX")
trap 'rm -rf "$home"' EXIT
cat >"$home/run.sh" <<RUN
#!/usr/bin/env bash
export HOME="$home" LANG=C.UTF-8 LC_ALL=C.UTF-8
xchm "$book" >/dev/null 2>&1 &
pid=\$!
sleep 6
wid=\$(xdotool search --sync --onlyvisible --name 'xCHM' | head -1)
xdotool windowmove \$wid 0 0 windowsize \$wid 1024 768; sleep 1
xdotool mousemove 310 55 click 1; sleep 2          # Contents: opens the side panel
xdotool mousemove 157 107 click 1; sleep 1         # scroll the tabs to Search
xdotool mousemove 157 107 click 1; sleep 1
xdotool mousemove 85 142 click 1; sleep 0.5        # the query field
xdotool type --delay 150 "$typed"; sleep 1
xdotool mousemove 53 236 click 1; sleep 3          # Search
import -window root "$out"
kill \$pid
RUN
chmod +x "$home/run.sh"
xvfb-run -a -s "-screen 0 1024x768x24" "$home/run.sh"
echo "screenshot: $out (typed: $typed)"
