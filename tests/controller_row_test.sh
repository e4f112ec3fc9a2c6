#!/bin/bash
# A controller is one row and one script: a scratch copy of the tree gains a
# row in mbc_table (with its header type's name) and a script, and the
# settings panel, --mbc, --help, the bash completion, the header decoder and
# the size checks all know it. Only the two programs that show it are built.
# Usage: controller_row_test.sh SOURCE_DIR
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
types = '    inline constexpr HeaderType kTestTypes[] = {{0xEE, "ROM+TESTMBC+RAM"}};\n'
row = ('    {9, "TESTMBC", "gb_testmbc.nut", "testmbc", types(kTestTypes), 1 * kMiB, 8 * kKiB, '
       '0xFF, false, 0, ClockKind::None, no_clock_types()},\n')
table = text.index("inline constexpr MbcRow mbc_table[]")
end = text.index("};", table)
text = text[:end] + row + text[end:]
open(path, "w").write(text[:table] + types + text[table:])
PY
cp "$scratch/mapper/gb_mbc5.nut" "$scratch/mapper/gb_testmbc.nut"
# Without optimisation or debug information, a unity build with Ninja: only
# the build is tested, and it is quickest so.
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$scratch" -B "$scratch/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS=-O0 -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$scratch/build" -j"$(nproc)" --target zelvo3-cli panel_rows >/dev/null
cli="$scratch/build/src/zelvo3-cli"
fail() { echo "controller row: $1" >&2; exit 1; }
rows=$(QT_QPA_PLATFORM=offscreen "$scratch/build/tests/panel_rows" 0xEE 0x100000 0xEE 0x200000)
echo "$rows" | grep -qx TESTMBC || fail "the panel does not list the new controller"
echo "$rows" | grep -qx "type 0xEE: ROM+TESTMBC+RAM" || fail "Info does not name its header type"
[ "$(echo "$rows" | grep -xE 'taken|refused' | tr '\n' ' ')" = "taken refused " ] ||
    fail "the size checks do not follow its limits"
"$cli" --help | grep -q "testmbc" || fail "--help does not name it"
"$cli" --bash-completion | grep -q "testmbc" || fail "the completion does not offer it"
status=0
ZELVO_VOLUMES="$scratch" "$cli" info --mbc testmbc >/dev/null 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "--mbc testmbc was not taken (status $status, 3 wanted: no board)"
echo "controller row: the panel, --mbc, --help, the completion, Info and the size checks know the new row"
