#!/usr/bin/env bash
# Rewrites tests/golden/<case>/expected/ from the committed program (HEAD).
# HEAD is built in a temporary clone, so uncommitted edits never reach the
# expected files; every case is run there with COASTRA_REGEN=1, expected files
# the run no longer writes are removed, and a summary per file says what moved.
#   scripts/regen_golden.sh            regenerate and copy into this worktree
#   scripts/regen_golden.sh --dry-run  only print what would move
set -euo pipefail
dry=0
[[ "${1:-}" == "--dry-run" ]] && dry=1
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
sha=$(git -C "$root" rev-parse HEAD)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/coastra_regen.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

echo "Building $(git -C "$root" log -1 --format='%h %s' "$sha") in $tmp"
git clone -q --no-checkout "$root" "$tmp/src"
git -C "$tmp/src" checkout -q --detach "$sha"
cmake -S "$tmp/src" -B "$tmp/build" -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON >/dev/null
cmake --build "$tmp/build" -j2 --target coastra_tests >"$tmp/build.log" 2>&1 ||
  { tail -40 "$tmp/build.log"; echo "build of HEAD failed"; exit 1; }

# Start from empty expected folders so that only what the run writes is kept.
rm -rf "$tmp"/src/tests/golden/*/expected
(cd "$tmp/build" && COASTRA_REGEN=1 ./coastra_tests --gtest_filter='Cases/Golden*' >"$tmp/regen.log") ||
  { cat "$tmp/regen.log"; echo "golden runs failed"; exit 1; }

moved=0
for new in "$tmp"/src/tests/golden/*/expected; do
  case=$(basename "$(dirname "$new")")
  old="$root/tests/golden/$case/expected"
  mkdir -p "$old"
  for f in $( (ls "$new"; ls "$old") | sort -u); do
    if [[ ! -e "$old/$f" ]]; then
      echo "  $case/$f: new ($(wc -l <"$new/$f") lines)"; moved=1
    elif [[ ! -e "$new/$f" ]]; then
      echo "  $case/$f: removed, the run no longer writes it"; moved=1
    elif ! cmp -s "$old/$f" "$new/$f"; then
      n=$({ diff "$old/$f" "$new/$f" || true; } | grep -c '^>' || true)
      echo "  $case/$f: $n of $(wc -l <"$new/$f") lines changed (< before, > now)"; moved=1
      { diff "$old/$f" "$new/$f" || true; } | head -6 | sed 's/^/      /'
    fi
  done
  if [[ $dry == 0 ]]; then
    rm -rf "$old"
    cp -r "$new" "$old"
  fi
done
if [[ $moved == 0 ]]; then
  echo "No expected file moved."
elif [[ $dry == 1 ]]; then
  echo "Dry run: nothing written."
else
  echo "Expected files rewritten: review with git diff and say in the commit why they moved."
fi
