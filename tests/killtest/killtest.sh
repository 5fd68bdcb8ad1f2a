#!/usr/bin/env bash
# The kill test: a project with feature sections and both internal-database files is saved
# again and again (alternating two versions that differ in every file) with the recent list
# moved after each save, and the saving program is killed with SIGKILL: in odd trials at a
# random step that changes the disk (inside the writes, flushes and renames), in even trials
# at a random moment. After every kill a fresh program opens the project and must find the
# three files exactly of one version and products.inf whole with a well-formed recent list.
# Then a save made to fail at its last rename (a folder in _IDB2.hex's place) is killed at
# each step that changes the disk while it puts its files back, and checked the same way.
#
#   tests/killtest/killtest.sh <savekill program> [trials]      (by hand: 1000 trials)
set -u
bin=${1:?usage: tests/killtest/killtest.sh <savekill program> [trials]}
trials=${2:-20}
here=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cp -r "$here/dist/." "$tree/"
"$bin" "$tree" setup >/dev/null || { echo "kill test: setup failed"; exit 1; }
# The disk steps of one save and its recent-list update.
per_save=$("$bin" "$tree" save 1 | sed -n 's/.* steps //p')
losses=0 killed=0
for ((i = 1; i <= trials; ++i)); do
  if ((i % 2)); then
    SAVEKILL_STEP=$((RANDOM % (4 * per_save) + 1)) "$bin" "$tree" save 4 >/dev/null 2>&1 &
    wait $! 2>/dev/null
  else
    "$bin" "$tree" save 100000 >/dev/null 2>&1 &
    pid=$!
    sleep "0.0$((RANDOM % 90 + 10))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  (($? == 137)) && killed=$((killed + 1))
  if ! out=$("$bin" "$tree" check 2>&1); then
    losses=$((losses + 1))
    echo "trial $i: $out"
  fi
done
# The steps of the putting back, from the rename that fails to the last removal.
read -r first last < <(SAVEKILL_FAIL=1 "$bin" "$tree" save 1 | sed -n 's/^put back //p')
if [[ -z ${first:-} ]]; then echo "kill test: the failed save did not put its files back"; exit 1; fi
"$bin" "$tree" check >/dev/null || { echo "kill test: a failed save left a loss"; exit 1; }
for ((step = first; step <= last + 1; ++step)); do
  SAVEKILL_FAIL=1 SAVEKILL_STEP=$step "$bin" "$tree" save 1 >/dev/null 2>&1 &
  wait $! 2>/dev/null
  (($? == 137)) && killed=$((killed + 1))
  if ! out=$("$bin" "$tree" check 2>&1); then
    losses=$((losses + 1))
    echo "put-back kill at step $step: $out"
  fi
  trials=$((trials + 1))
done
echo "kill test: $trials trials, $killed killed, $losses losses"
((losses == 0))
