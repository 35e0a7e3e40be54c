# Checks of the unpacked release package, run by scripts/test. Sourced after env.sh, with the
# Wine prefix ready.

# True when readme.txt of the package folder $1 names every other file of that folder.
ko_package_readme_names_every_file() {
    local file missing=0
    for file in "$1"/*; do
        [ "$(basename "$file")" = readme.txt ] && continue
        grep -qF "$(basename "$file")" "$1/readme.txt" && continue
        ko_log "readme.txt does not name $(basename "$file")"
        missing=1
    done
    return $missing
}

# The Windows path of Linux path $1 under Wine, where the Linux file system is drive Z:.
ko_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Runs console program $2 of the package folder $1 under Wine, started in that folder, with the
# arguments that follow; its standard output goes to KO_CLI_OUTPUT and its exit status is the
# function's.
ko_package_cli() {
    local folder=$1 program=$2 status=0
    shift 2
    KO_CLI_OUTPUT=$(cd "$folder" && ko_wine "./$program" "$@" 2>/dev/null) || status=$?
    return $status
}

# True when the console programs of the unpacked package folder $1 (whose path may hold
# Japanese and blanks) run under Wine from that folder: each exit status (0 all equal,
# 1 something differs, 2 trouble) and a --json run of each, on files whose paths hold Japanese
# and blanks too. Names each run that went wrong.
ko_package_cli_programs_run() {
    local folder=$1 work="$1/比較 サンプル" failed=0
    local before="$work/前 フォルダ" after="$work/後 フォルダ"
    mkdir -p "$before" "$after"
    printf '\xef\xbb\xbf変更前の行\r\n同じ行\r\n' >"$before/メモ 1.txt"
    printf '\xef\xbb\xbf変更後の行\r\n同じ行\r\n' >"$after/メモ 1.txt"
    cp "$before/メモ 1.txt" "$work/写し.txt"
    local memo_a memo_b copy dir_a dir_b absent
    memo_a=$(ko_windows_path "$before/メモ 1.txt")
    memo_b=$(ko_windows_path "$after/メモ 1.txt")
    copy=$(ko_windows_path "$work/写し.txt")
    dir_a=$(ko_windows_path "$before")
    dir_b=$(ko_windows_path "$after")
    absent=$(ko_windows_path "$work/ない")

    # run_expecting STATUS PROGRAM ARGUMENTS...: the program ends with STATUS.
    run_expecting() {
        local want=$1 status=0
        shift
        ko_package_cli "$folder" "$@" || status=$?
        [ "$status" = "$want" ] && return 0
        ko_log "$* ended with $status, not $want"
        failed=1
    }
    # printed TEXT...: the last program's standard output holds every TEXT.
    printed() {
        local text
        for text in "$@"; do
            [[ "$KO_CLI_OUTPUT" == *"$text"* ]] && continue
            ko_log "the output lacks $text"
            failed=1
        done
    }
    run_expecting 0 kestrel-cli.exe --quiet "$memo_a" "$copy"
    run_expecting 1 kestrel-cli.exe --quiet "$memo_a" "$memo_b"
    run_expecting 2 kestrel-cli.exe --quiet "$memo_a" "$absent.txt"
    run_expecting 1 kestrel-cli.exe --json "$memo_a" "$memo_b"
    # The grid's text goes out escaped: 変更前の行 and 変更後の行, differing in their third letter.
    printed '"state": 2' '"encoding": "utf-8"' \
        '"a": "\u5909\u66f4\u524d\u306e\u884c", "ca": "00100"' \
        '"b": "\u5909\u66f4\u5f8c\u306e\u884c", "cb": "00100"'
    run_expecting 0 osprey-cli.exe --quiet --group=1 "$dir_a" "$dir_a"
    run_expecting 1 osprey-cli.exe --quiet --group=1 "$dir_a" "$dir_b"
    run_expecting 2 osprey-cli.exe --quiet --group=1 "$dir_a" "$absent"
    run_expecting 1 osprey-cli.exe --json --group=1 "$dir_a" "$dir_b"
    printed '"differ": 1' '"name": "メモ 1.txt"'
    rm -rf "$work"
    return $failed
}
