# Checks of a built manual, run by scripts/test. Sourced after env.sh.

# The texts the manual of program $1 (kestrel or osprey) must hold, one per line: every menu
# text of its menu resource, without the "&" that marks the access key, and every text and
# caption of its message tables (common/messages.h and <program>/messages.h), cut at the format
# fields and line breaks where the program fills in values; and the file-type texts and search
# patterns of the default extension groups ("cppFile(*.cpp)", "*.cpp"), as the open-file dialog
# and the lists show them. Blanks are left out.
ko_manual_required_texts() {
    {
        sed -n '/^IDR_MAIN_MENU MENU/,/^END/p' "$ROOT/resources/$1.rc" | grep -o '"[^"]*"' |
            tr -d '"&'
        grep -ho 'u"[^"]*"' "$ROOT/common/messages.h" "$ROOT/$1/messages.h" |
            sed 's/^u"//; s/"$//'
        # The rows of the default table end in ..., u"<file-type text>", u"<pattern>"}.
        sed -n 's/.*u"\([^"]*\)", u"\([^"]*\)"}.*/\1\n\2/p' "$ROOT/common/extension_groups.cpp"
    } | sed 's/%[sd]/\n/g; s/\\r\\n/\n/g' | tr -d ' ' | sed '/^$/d'
}

# True when the text of the PDF $1 holds every required text of program $2, and nowhere one of
# them that lost its asterisks to the Markdown ("cppFile(.cpp)"); names the missing and the
# mangled ones. Blanks count nowhere: the layout breaks lines where it likes.
ko_manual_has_texts() {
    local text fragment bare missing=0
    text=$(pdftotext -enc UTF-8 "$1" - | tr -d ' \n\t\f')
    while IFS= read -r fragment; do
        bare=${fragment//\*/}
        if [[ "$fragment" != *"$bare"* && "$text" == *"$bare"* ]]; then
            ko_log "$(basename "$1") shows \"$bare\" for \"$fragment\""
            missing=1
        fi
        [[ "$text" == *"$fragment"* ]] && continue
        ko_log "$(basename "$1") lacks \"$fragment\""
        missing=1
    done < <(ko_manual_required_texts "$2")
    return $missing
}

# True when the PDF $1 uses fonts and embeds every one of them (pdffonts' "emb" column, the
# fifth from the end).
ko_manual_fonts_embedded() {
    pdffonts "$1" | awk 'NR > 2 { n++; if ($(NF - 4) != "yes") bad++ } END { exit !(n > 0 && !bad) }'
}

# True when the PDF $1 has at least $2 pages.
ko_manual_has_pages() {
    [ "$(pdfinfo "$1" | awk '/^Pages:/ { print $2 }')" -ge "$2" ]
}

# True when no page of the PDF $1 between the title page and the last is nearly empty: on each,
# the content reaches at least 30 % of the way down the page above its bottom margin (a quarter
# of the text area below the top margin). Names the pages that do not.
ko_manual_no_nearly_empty_pages() {
    local dir pages page reach sparse=0
    dir=$(mktemp -d)
    pages=$(pdfinfo "$1" | awk '/^Pages:/ { print $2 }')
    [ "$pages" -gt 2 ] && pdftoppm -r 20 -gray -f 2 -l $((pages - 1)) "$1" "$dir/page"
    for page in "$dir"/page-*.pgm; do
        [ -f "$page" ] || continue
        # The page number stands in the bottom margin, which the crop leaves out.
        reach=$(convert "$page" -crop 100%x92%+0+0 +repage -fuzz 5% -trim \
            -format '%[fx:round(100 * (page.y + h) / page.height)]' info:)
        [ "$reach" -ge 30 ] && continue
        page=$(basename "$page" .pgm)
        ko_log "$(basename "$1"): page $((10#${page##*-})) is nearly empty"
        sparse=1
    done
    rm -rf "$dir"
    return $sparse
}

# True when the PDF $1 names as author the company line of the programs' version resource (its
# Japanese block) and carries a subject, a creation date and the language ja.
ko_manual_has_properties() {
    local info author
    info=$(pdfinfo "$1")
    author=$(sed -n 's/^ *VALUE "CompanyName", "\(.*\)"$/\1/p' "$ROOT/resources/version_info.rci" |
        head -n 1)
    grep -qx "Author: *$author" <<<"$info" && grep -q '^Subject: *[^ ]' <<<"$info" &&
        grep -q '^CreationDate: *[^ ]' <<<"$info" && grep -aq '/Lang (ja)' "$1"
}
