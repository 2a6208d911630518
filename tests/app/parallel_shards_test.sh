#!/usr/bin/env bash
# Runs the GNU parallel lines of the README's "Many machines" section as they
# stand there, with two shards on this machine over a small folder of
# generated notes, and checks that the merged rows are byte for byte those of
# one `morvex batch --files-from` run over the same list.
#
#   parallel_shards_test.sh README MORVEX NOTEGEN
set -euo pipefail

readme=$(realpath "${1:?README}") morvex=$(realpath "${2:?MORVEX}") notegen=$(realpath "${3:?NOTEGEN}")
fail() { echo "parallel_shards_test: $*" >&2; exit 1; }
command -v parallel >/dev/null || fail "GNU parallel is missing (tools/install-deps.sh installs it)"

# The indented lines between the section's two markers, without the indent.
lines=$(awk '/^<!-- many-machines: GNU parallel -->/ {on = 1; next}
             on && /^<!-- end -->/ {exit}
             on && /^    / {print substr($0, 5)}' "$readme")
[ -n "$lines" ] || fail "no GNU parallel lines found in $readme"
grep -q -- '--sshlogin "$hosts"' <<<"$lines" || fail "the README's lines no longer take the hosts from \$hosts"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/run"
ln -s "$morvex" "$work/bin/morvex"
"$notegen" --out "$work/notes" --set clean --count 7 --seed 14 >/dev/null

cd "$work/run"
export PATH="$work/bin:$PATH" notes="$work/notes" shards=2 hosts=:
bash -euo pipefail -c "$lines" </dev/null >shards.log 2>&1 || { cat shards.log >&2; fail "the README's lines failed"; }

[ "$(wc -l <notes.txt)" -eq 7 ] || fail "notes.txt does not list the 7 notes"
for shard in shard-00 shard-01; do
  [ -s "$shard.jsonl" ] || fail "$shard gave no rows"
done
[ ! -e shard-02 ] || fail "more than two shards"
morvex batch --files-from notes.txt --results one.jsonl >one.log
[ "$(wc -l <one.jsonl)" -eq 7 ] || fail "one run gave $(wc -l <one.jsonl) rows for 7 notes"
cmp one.jsonl results.jsonl || { diff one.jsonl results.jsonl >&2; fail "merged shard rows differ from one run's"; }
echo "parallel_shards_test: 2 shards, $(wc -l <results.jsonl) rows, the same as one run"
