# Kestrel and Osprey at work on a private Xvfb screen, driven with keys and clicks as a user
# would drive them, and photographed: the pictures of the README (scripts/demo) and of the
# manuals (scripts/manuals). Sourced after env.sh, in a script that runs with set -e.
#
# ko_screens_begin STAGE   copies the programs and the samples into STAGE, which Wine sees as
#                          drive D: (D:\tools holds the programs and their settings, D:\samples the
#                          sample files with a fixed date), and starts a 1024 x 768 screen
# ko_kestrel_tour OUT      Kestrel compares the two sample files; pictures into OUT
# ko_osprey_tour OUT       Osprey compares the sample folders and starts Kestrel; pictures into OUT
# ko_report_pictures OUT   kestrel-cli.exe and osprey-cli.exe write the samples' --html pages,
#                          photographed by headless Chromium into OUT
# ko_osprey_columns OUT    Osprey's left list with all its columns, on a screen wide enough
# ko_screens_end           ends every program and the screen (also on failure, by trap)
#
# The pictures show what a Windows user sees, not Wine's own marks: the prefix gets Wine's
# Marlett, whose glyphs draw the title-bar buttons, and while the pictures are taken its drive
# Z: (the whole Linux file system) and the desktop's "/" folder are hidden from the folder
# browser, whose tree then holds the desktop, the user's documents, the recycle bin and drives
# C: and D: as on Windows.

KO_SCREEN_SIZE=1024x768
KO_SCREEN_HALF=512

# Runs "${@:2}" every 0.1 s until it succeeds, for up to $1 seconds.
ko_poll() {
    local i
    for i in $(seq 1 $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

ko_window_named() {
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && echo "$id"
}
ko_no_window_named() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
ko_window_count_is() { [ "$(xdotool search --onlyvisible --class "$1" 2>/dev/null | wc -l)" -eq "$2" ]; }

# Waits up to $2 seconds for a top-level window named $1 and prints its X id.
ko_wait_for_window() {
    ko_poll "$2" ko_window_named "$1" || { ko_log "no window \"$1\" within $2 s"; return 1; }
}

# Waits up to $2 seconds until no visible window is named $1.
ko_wait_for_no_window() {
    ko_poll "$2" ko_no_window_named "$1" || { ko_log "window \"$1\" still open after $2 s"; return 1; }
}

# Waits up to $2 seconds until program $1 (osprey.exe) has $3 visible windows.
ko_wait_for_window_count() {
    ko_poll "$2" ko_window_count_is "$1" "$3" || { ko_log "$1 did not come to $3 windows"; return 1; }
}

# Saves window $1 as the PNG $2, without the time stamps that would make every run's file new.
ko_screenshot() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    sleep 0.5  # the window has painted
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
        -define png:exclude-chunks=date,time "$2"
}

ko_screens_begin() {
    KO_STAGE=$1
    local fixed_date=202404011030  # the sample files' date in the pictures
    rm -rf "$KO_STAGE"
    mkdir -p "$KO_STAGE/tools" "$KO_STAGE/samples"
    cp "$WINDOWS_BUILD/kestrel/app/Kestrel.exe" "$WINDOWS_BUILD/osprey/app/Osprey.exe" \
        "$KO_STAGE/tools/"
    cp -r "$ROOT/samples/folder-a" "$ROOT/samples/folder-b" "$ROOT/samples/order_total_before.cpp" \
        "$ROOT/samples/order_total_after.cpp" "$KO_STAGE/samples/"
    find "$KO_STAGE/samples" -exec touch -t "$fixed_date" {} +

    unset DISPLAY
    ko_wine_env
    "$ROOT/scripts/wine-setup"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    ln -sfn "$KO_STAGE" "$WINEPREFIX/dosdevices/d:"
    KO_SCREEN="${KO_SCREEN_SIZE}x24" ko_start_display
    ko_windows_look
    KO_TOUR_PIDS=()
    trap ko_screens_end EXIT
}

# Gives the prefix Wine's Marlett (Debian's Wine does not look in its own font folder) and
# hides the desktop's "/" folder and drive Z: until ko_screens_end. Runs while no Wine program
# runs in the prefix.
ko_windows_look() {
    cp -u /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    # Wine names a drive by the label in its root; Windows shows an unnamed local disk so.
    printf 'ローカル ディスク' | tee "$WINEPREFIX/drive_c/.windows-label" >"$KO_STAGE/.windows-label"
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[-HKEY_LOCAL_MACHINE\\Software\\Microsoft'
        printf '\\Windows\\CurrentVersion\\Explorer\\Desktop\\Namespace'
        printf '\\{9D20AAE8-0625-44B0-9CA7-71889C2254D9}]\r\n'
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$KO_STAGE/windows-look.reg"
    ko_wine regedit /S 'D:\windows-look.reg' >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
    rm -f "$KO_STAGE/windows-look.reg" "$WINEPREFIX/dosdevices/z:"
}

ko_screens_end() {
    local pid
    for pid in "${KO_TOUR_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    KO_TOUR_PIDS=()
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/d:"
    ln -sfn / "$WINEPREFIX/dosdevices/z:"
    ko_stop_display
    trap - EXIT
}

# Starts a program of D:\tools from that folder, in the background; its pid goes to
# KO_TOUR_PIDS and KO_TOUR_PID.
ko_tour_start() {
    (cd "$KO_STAGE/tools" && exec env LC_ALL=ja_JP.UTF-8 "$(ko_wine_binary)" "$@") &
    KO_TOUR_PID=$!
    KO_TOUR_PIDS+=("$KO_TOUR_PID")
}

# Waits for the end of the program started last; false when it failed or took over 20 s.
ko_tour_ended() { ! kill -0 "$KO_TOUR_PID" 2>/dev/null; }
ko_tour_wait() {
    ko_poll 20 ko_tour_ended && wait "$KO_TOUR_PID"
}

ko_kestrel_tour() {
    local out=$1 main box dialog
    mkdir -p "$out"
    ko_log "Kestrel compares D:\\samples\\order_total_before.cpp and order_total_after.cpp"
    ko_tour_start Kestrel.exe '/A:D:\samples\order_total_before.cpp' \
        '/B:D:\samples\order_total_after.cpp'
    main=$(ko_wait_for_window 'Kestrel Ver1.00' 60)
    box=$(ko_wait_for_window '比較完了' 30)
    ko_screenshot "$box" "$out/kestrel-result-box.png"
    # Enter answers the box; the menu's commands go by their Alt keys.
    xdotool key Return
    ko_wait_for_no_window '比較完了' 10
    ko_screenshot "$main" "$out/kestrel-compared.png"
    # 復元 (restore) shares its Alt key with ファイル: the menu is walked with the arrows.
    xdotool key F10 Right Right Return
    ko_screenshot "$main" "$out/kestrel-loaded.png"
    xdotool key alt+h k  # その他 > 環境設定
    dialog=$(ko_wait_for_window '環境設定' 10)
    ko_screenshot "$dialog" "$out/kestrel-settings.png"
    # The fourth tab stop from the columns box is 拡張子グループの設定.
    xdotool key Tab Tab Tab space
    dialog=$(ko_wait_for_window '検索の拡張子の設定' 10)
    ko_screenshot "$dialog" "$out/group-editor.png"
    xdotool key Escape
    ko_wait_for_no_window '検索の拡張子の設定' 10
    xdotool key Escape
    ko_wait_for_no_window '環境設定' 10
    xdotool key alt+x
    ko_tour_wait || { ko_log "Kestrel did not end cleanly"; return 1; }
}

# Opens the folder browser of one side from the menu (Alt+F, then A or B), photographs it into
# $2 when given, and takes the folder it opens on: the side's folder from Osprey.ini. $3 is
# Osprey's main window.
ko_answer_folder_browser() {
    local before browser
    before=$(xdotool search --onlyvisible --class osprey.exe | wc -l)
    xdotool key alt+f "$1"
    ko_wait_for_window_count osprey.exe 20 $((before + 1))
    if [ -n "$2" ]; then
        browser=$(xdotool search --onlyvisible --class osprey.exe | grep -v "^$3\$" | head -n 1)
        ko_screenshot "$browser" "$2"
    fi
    sleep 0.5
    xdotool key Return
    ko_wait_for_window_count osprey.exe 20 "$before"
    sleep 0.5
}

# Starts Osprey, takes the folders its settings name for both sides in the folder browser (the
# first browser pictured as $1 unless that is empty) and compares them. The window is left in
# KO_OSPREY_WINDOW: the program runs in the background of this shell, so no $(...) can start it.
ko_osprey_compare_folders() {
    ko_tour_start Osprey.exe
    KO_OSPREY_WINDOW=$(ko_wait_for_window 'Osprey Ver1.00' 60)
    sleep 0.5
    ko_answer_folder_browser a "$1" "$KO_OSPREY_WINDOW"
    ko_answer_folder_browser b "" "$KO_OSPREY_WINDOW"
    xdotool key alt+u  # 比較 (compare)
    sleep 1.5
}

ko_osprey_tour() {
    local out=$1 osprey kestrel dialog
    mkdir -p "$out"
    # Osprey.ini names the two sample folders. The profile functions keep it in UTF-16 with its
    # byte-order mark.
    printf '[Setting]\r\nfileA_folder_select=D:\\samples\\folder-a\\\r\nfileB_folder_select=D:\\samples\\folder-b\\\r\n' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$KO_STAGE/tools/Osprey.ini"
    ko_log "Osprey compares D:\\samples\\folder-a and folder-b"
    ko_osprey_compare_folders "$out/osprey-folder-browser.png"
    osprey=$KO_OSPREY_WINDOW
    # Row 0 of both lists holds inventory.cpp, which differs. The rows sit below the title, the
    # menu, the folder row and the lists' headers; each list fills half the screen's width.
    xdotool mousemove 100 93 click 1
    sleep 0.3
    xdotool mousemove $((KO_SCREEN_HALF + 100)) 93 click 1
    ko_screenshot "$osprey" "$out/osprey-compared.png"

    xdotool key alt+i  # 個別比較 starts Kestrel
    kestrel=$(ko_wait_for_window 'Kestrel Ver1.00' 60)
    ko_wait_for_window '比較完了' 30 >/dev/null
    sleep 0.5
    xdotool key Return
    ko_wait_for_no_window '比較完了' 10
    ko_screenshot "$kestrel" "$out/kestrel-from-osprey.png"
    xdotool key alt+x  # Kestrel has the keyboard; 終了 ends it
    ko_wait_for_no_window 'Kestrel Ver1.00' 20

    xdotool windowfocus "$osprey"
    xdotool key alt+w t  # その他 > 環境設定
    dialog=$(ko_wait_for_window '環境設定' 10)
    ko_screenshot "$dialog" "$out/osprey-settings.png"
    xdotool key Escape
    ko_wait_for_no_window '環境設定' 10
    xdotool key alt+x
    ko_tour_wait || { ko_log "Osprey did not end cleanly"; return 1; }
}

ko_report_pictures() {
    local out=$1 program inputs
    mkdir -p "$out"
    for program in kestrel osprey; do
        inputs=(folder-a folder-b)
        [ "$program" = kestrel ] && inputs=(order_total_before.cpp order_total_after.cpp)
        ko_log "$program-cli --html ${inputs[*]}"
        # The samples differ: exit status 1 is the expected one.
        (cd "$KO_STAGE/samples" && ko_wine "$WINDOWS_BUILD/cli/$program-cli.exe" --html "${inputs[@]}") \
            >"$KO_STAGE/$program-report.html" || [ $? -eq 1 ]
        python3 "$ROOT/scripts/lib/chromium.py" "$KO_STAGE/$program-report.html" \
            "$out/$program-report.png" 1000
    done
}

# Osprey's left list after the comparison, on a screen wide enough for its five columns (400 +
# 80 + 150 + 200 + 60 pixels in a list half the screen wide): the left half of the window down
# to a few rows below the last, as OUT/osprey-columns.png. Ends the screen of the tours before
# and starts a wider one.
ko_osprey_columns() {
    local out=$1 osprey X Y WIDTH HEIGHT SCREEN WINDOW
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    ko_stop_display
    KO_SCREEN=1920x1080x24 ko_start_display
    ko_log "Osprey's lists on a screen 1920 pixels wide"
    ko_osprey_compare_folders ""
    osprey=$KO_OSPREY_WINDOW
    eval "$(xdotool getwindowgeometry --shell "$osprey")"
    import -window root -crop "$((WIDTH / 2))x250+${X}+${Y}" +repage -strip \
        -define png:exclude-chunks=date,time "$out/osprey-columns.png"
    xdotool key alt+x
    ko_tour_wait || { ko_log "Osprey did not end cleanly"; return 1; }
}
