#!/bin/sh
# The installed window speaks the system's language: installed into a
# temporary prefix, it is started under each LANG and says what it shows.
#   installed_language_test.sh BUILD_DIR
set -eu
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" > /dev/null

check() {
    lang=$1
    shift
    out=$(env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$lang" QT_QPA_PLATFORM=offscreen \
        "$prefix/bin/zelvo3" --show-language 2>/dev/null)
    for want in "$@"; do
        case "$out" in
            *"$want"*) ;;
            *) printf 'under LANG=%s, no "%s" in:\n%s\n' "$lang" "$want" "$out"; exit 1 ;;
        esac
    done
}

check zh_CN.UTF-8 "Window title: Zelvo 3.0 构建 - " "取消" "share/zelvo3/translations/zelvo3_chs.qm"
check ja_JP.UTF-8 "Window title: Zelvo 3.0 ビルド - " "キャンセル" "zelvo3_jpn.qm"
check C "Window title: Zelvo 3.0 build - " "Cancel" "Translation: none (English)"
echo "the installed window speaks zh, ja and English by LANG"
