#!/bin/sh
# A controller is one row and one script: a scratch copy of the tree gains a
# row in mbc_table and a script, and the settings panel, --mbc, --help and the
# bash completion all offer it. Usage: controller_row_test.sh SOURCE_DIR
set -eu
source_dir=$1
scratch=$(mktemp -d /tmp/zelvo-controller-row-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
for part in CMakeLists.txt cmake src mapper translations packaging tools tests bench; do
    cp -r "$source_dir/$part" "$scratch/"
done
python3 - "$scratch/src/cart/controllers.h" <<'PY'
import sys
path = sys.argv[1]
text = open(path).read()
row = ('    {9, 9, "TESTMBC", "gb_testmbc.nut", "testmbc", types<0xEE>(), 1 * kMiB, 8 * kKiB, '
       '0xFF, false, 0, ClockKind::None, no_types()},\n')
end = text.index("};", text.index("mbc_table[]"))
open(path, "w").write(text[:end] + row + text[end:])
PY
cp "$scratch/mapper/gb_mbc5.nut" "$scratch/mapper/gb_testmbc.nut"
cmake -S "$scratch" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$scratch/build" -j"$(nproc)" --target zelvo3-cli panel_rows >/dev/null
cli="$scratch/build/src/zelvo3-cli"
fail() { echo "controller row: $1" >&2; exit 1; }
QT_QPA_PLATFORM=offscreen "$scratch/build/tests/panel_rows" | grep -qx TESTMBC ||
    fail "the panel does not list the new controller"
"$cli" --help | grep -q "testmbc" || fail "--help does not name it"
"$cli" --bash-completion | grep -q "testmbc" || fail "the completion does not offer it"
status=0
ZELVO_VOLUMES="$scratch" "$cli" info --mbc testmbc >/dev/null 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "--mbc testmbc was not taken (status $status, 3 wanted: no board)"
echo "controller row: the panel, --mbc, --help and the completion offer the new row"
