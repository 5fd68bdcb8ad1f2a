#!/bin/sh
# scripts/run on a stand-in checkout (its own dist/, a program that reports its tree, no
# build): the program runs on a copy of dist/ under $XDG_DATA_HOME/quorvex, made on the
# first run and kept (with what the program wrote into it) on the next; dist/ stays as it was.
set -eu
src="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/repo/scripts" "$work/repo/dist/Products" "$work/repo/build/src" "$work/bin" "$work/data"
cp "$src/scripts/run" "$work/repo/scripts/run"
printf '#!/bin/sh\nexit 0\n' >"$work/repo/scripts/install-deps"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/cmake"
printf '[ProjectFile]\r\nProjectCount=0\r\n' >"$work/repo/dist/Products/products.inf"
cat >"$work/repo/build/src/quorvex" <<'PROG'
#!/bin/sh
echo "$QUORVEX_HOME" >"$QUORVEX_HOME/../ran-on"
echo "Prj1=written" >>"$QUORVEX_HOME/Products/products.inf"
PROG
chmod +x "$work/repo/scripts/run" "$work/repo/scripts/install-deps" "$work/bin/cmake" "$work/repo/build/src/quorvex"
fail() { echo "run-script-test: $*"; exit 1; }
for n in 1 2; do
  env -u QUORVEX_HOME PATH="$work/bin:$PATH" XDG_DATA_HOME="$work/data" "$work/repo/scripts/run" >/dev/null ||
    fail "scripts/run failed (run $n)"
  [ "$(cat "$work/data/ran-on")" = "$work/data/quorvex" ] || fail "run $n: program tree $(cat "$work/data/ran-on")"
  [ "$(grep -c written "$work/data/quorvex/Products/products.inf")" = "$n" ] || fail "run $n: the copy was not kept"
  grep -q written "$work/repo/dist/Products/products.inf" && fail "run $n: dist/ was written"
  [ -z "$(ls "$work/data" | grep copying)" ] || fail "run $n: a half copy was left"
done
# The READMEs name the command there is.
grep -n "make run" "$src/README.md" "$src/dist/README.md" && fail "a README names make run"
echo "run-script-test: passed"
