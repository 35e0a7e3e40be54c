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

