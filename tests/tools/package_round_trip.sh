#!/usr/bin/env bash
# ixo build makes a package of an object folder that ixo list shows and ixo extract
# unpacks to the same bytes: the assembled script and every resource.
set -euo pipefail
ixo=$1
example=$2
engine=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp -r "$example" "$work/object"
head -c 20000 /dev/urandom > "$work/object/picture.jpg"
printf 'plain text, plain text, plain text\n' > "$work/object/notes.txt"

"$ixo" build "$work/object" -o "$work/object.ixo" > /dev/null
listing=$("$ixo" list "$work/object.ixo")
grep -q 'identity.vexe__' <<< "$listing"
grep -q 'stored      picture.jpg' <<< "$listing"
grep -q 'notes.txt__' <<< "$listing"
if grep -q '\.ixs' <<< "$listing"; then echo "the script source was packed"; exit 1; fi

"$ixo" extract "$work/object.ixo" "$work/out" > /dev/null
"$ixo" asm "$work/object/identity.ixs" -o "$work/expected.vexe"
cmp "$work/out/identity.vexe" "$work/expected.vexe"
cmp "$work/out/picture.jpg" "$work/object/picture.jpg"
cmp "$work/out/notes.txt" "$work/object/notes.txt"

# A damaged package is refused and writes nothing.
head -c 400 "$work/object.ixo" > "$work/cut.ixo"
if "$ixo" extract "$work/cut.ixo" "$work/cut" 2> /dev/null; then echo "a cut package was extracted"; exit 1; fi
[ -z "$(ls -A "$work/cut")" ]
# The engine runs the package: extracted into a fresh folder, run, and cleaned up.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
"$engine" --headless --dump-vars "$work/object.ixo" > "$work/vars"
grep -q '^greetings\[4\]=Lift-off after 3000 ms, IXO is done.$' "$work/vars"
[ -z "$(ls -A "$TMPDIR/zodizarez")" ]
echo "package round trip: ok"
