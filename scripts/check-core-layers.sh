#!/usr/bin/env bash
# The core's folders form a one-way stack: a folder includes only folders below it. This
# reads the #include lines of every file under the core folder given (default src/core),
# draws the folder graph (one "from -> to (files)" line per pair) and fails when the graph
# has a cycle, two folders including each other among them, naming the folders on it.
#
#   scripts/check-core-layers.sh [core-folder]
set -u
core=${1:-$(cd "$(dirname "$0")/.." && pwd)/src/core}
[ -d "$core" ] || {
  echo "no such folder: $core" >&2
  exit 2
}

# Each pair of folders once, with the number of include lines that make it.
edges=$(cd "$core" && grep -r -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' --include='*.h' --include='*.cpp' . |
  sed -E 's#^\./([^/]+)/[^:]*:[[:space:]]*\#[[:space:]]*include[[:space:]]*"([^"/]+)/.*#\1 \2#' |
  awk '$1 != $2' | sort | uniq -c | awk '{print $2, $3, $1}')

echo "core folder graph (from -> to, include lines):"
[ -n "$edges" ] && echo "$edges" | awk '{printf "  %s -> %s (%s)\n", $1, $2, $3}'

pairs=$(echo "$edges" | awk 'NF {print $1, $2}')
# Two folders that include each other.
mutual=$(echo "$pairs" | awk '{seen[$1 " " $2] = 1} END {for (e in seen) {split(e, f, " "); if (f[1] < f[2] && seen[f[2] " " f[1]]) print "  " f[1] " <-> " f[2]}}' | sort)
# Any longer loop: tsort cannot order the graph, and says so on stderr.
loop=$(echo "$pairs" | tsort 2>&1 >/dev/null)
if [ -n "$mutual" ] || [ -n "$loop" ]; then
  echo "the core's folders are not a one-way stack:"
  [ -n "$mutual" ] && echo "$mutual"
  [ -z "$mutual" ] && echo "$loop" | sed 's/^tsort: /  /'
  exit 1
fi
echo "one-way stack, top to bottom: $(echo "$pairs" | tsort | tr '\n' ' ')"
