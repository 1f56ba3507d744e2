# Sourced by scripts/test.sh: the x86 test programs on a second Windows, a Japanese ReactOS
# LiveCD (code page 932; ../shared/reactos/README.md) booted once by qemu-system-i386. A FAT32
# disk brings the test programs, the program, their fixtures and a run.cmd that ReactOS runs at
# logon; each program runs under tests/reactos/TimeLimit.cpp, which writes its output and exit
# code back to the disk and marks its start and end on COM1. Needs $top.
#
# QUILLANE_REACTOS_IMAGE names the image (.iso or .iso.xz) when it is not at the usual place;
# QUILLANE_REACTOS_LIMIT the seconds each test program may take (300, as CTest allows).

reactos_image=${QUILLANE_REACTOS_IMAGE:-$(dirname "$top")/shared/reactos/reactos-livecd-932.iso.xz}
reactos_limit=${QUILLANE_REACTOS_LIMIT:-300}
reactos_dir=$top/build-x86/reactos

# Cases that a ReactOS fault makes fail, skipped on ReactOS only: "program case-pattern
# reproduction". The reproduction, a program under tests/reactos/, runs in the same boot and
# must still show the fault (fail); once the image is mended it passes and the skip is lifted.
reactos_skips=(
    "dialogs_test MessageDialog.ShowsTheTypesCaptionIconAndButtonsInOrder font_stand_in"
)

# Cases that check what only Wine has, skipped on ReactOS: "program case reason".
reactos_wine_only=(
    "window_test WindowTest.TheLinkBannerOpensTheSiteAfterConfirmation Wine's winebrowser is its browser"
)

# Empty when the ReactOS half can run; otherwise why not, in a few words.
reactos_refusal() {
    local tool
    if [ ! -f "$reactos_image" ]; then
        echo "no ReactOS image at $reactos_image (QUILLANE_REACTOS_IMAGE names another)"
        return
    fi
    for tool in qemu-system-i386 mformat mcopy sfdisk xz; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed"; return; }
    done
}

# The image unpacked once into the build tree; a newer image is unpacked again.
reactos_iso() {
    local iso=$reactos_dir/reactos.iso
    case $reactos_image in
    *.xz)
        if [ ! -f "$iso" ] || [ "$reactos_image" -nt "$iso" ]; then
            echo "test: reactos: unpacking $reactos_image" >&2
            mkdir -p "$reactos_dir"
            xz -dc "$reactos_image" >"$iso.part" && mv "$iso.part" "$iso"
        fi
        echo "$iso" ;;
    *) echo "$reactos_image" ;;
    esac
}

# A test program or reproduction name with the skips for it, as a GoogleTest filter argument.
reactos_filter() {  # program
    local program=$1 skip patterns=
    for skip in "${reactos_skips[@]}" "${reactos_wine_only[@]}"; do
        set -- $skip
        [ "$1" = "$program" ] && patterns+=${patterns:+:}$2
    done
    [ -z "$patterns" ] || printf ' "--gtest_filter=-%s"' "$patterns"
}

# The disk ReactOS finds at C:, with everything the run needs and its run.cmd (CR LF).
reactos_disk() {  # run-dir programs...
    local run=$1 program file
    shift
    truncate -s 128M "$run/disk.img"
    echo 'start=2048, type=c, bootable' | sfdisk -q "$run/disk.img"
    mformat -i "$run/disk.img@@1M" -F -T $((127 * 2048)) -h 16 -s 63 -H 2048 ::
    mmd -i "$run/disk.img@@1M" ::/tests ::/results
    for file in "$top"/build-x86/tests/*.exe "$top"/build-x86/tests/*.msstyles \
        "$top"/build-x86/tests/reactos/*.exe "$top/build-x86/src/quillane.exe"; do
        mcopy -i "$run/disk.img@@1M" "$file" ::/tests/
    done
    {
        echo '@echo off'
        echo 'cd \tests'
        for program in "$@"; do
            echo "time_limit.exe $reactos_limit \\results\\$program $program.exe$(reactos_filter "$program")"
        done
        echo 'echo quillane-reactos-done> COM1'
    } | sed 's/$/\r/' >"$run/run.cmd"
    mcopy -i "$run/disk.img@@1M" "$run/run.cmd" ::/run.cmd
}

# One QMP command to the running qemu, through a pipe that is open for reading and writing
# (so that neither side waits for the other to open it).
reactos_qmp() {  # json
    printf '%s\n' "$1" >&"$reactos_qmp_fd"
}

reactos_screen() {  # run-dir name
    reactos_qmp "{\"execute\":\"screendump\",\"arguments\":{\"filename\":\"$1/screens/$2.ppm\"}}"
}

# Boots ReactOS on the disk and follows the run on COM1 until its end mark; a program that
# marks nothing for its limit and a minute more, or a boot that takes over five minutes, ends
# the wait. Screens are saved at each time-out and every half minute (latest.ppm).
reactos_boot() {  # run-dir iso
    local run=$1 iso=$2 qemu reader line seen=0 deadline now shot=0 done=
    mkdir -p "$run/screens"
    mkfifo "$run/qmp.in" "$run/qmp.out"
    : >"$run/com1.txt"
    qemu-system-i386 -m 1024 -smp 1 -cdrom "$iso" -boot d \
        -drive file="$run/disk.img",format=raw,if=ide,index=0,media=disk \
        -vga std -display none -nic none -rtc base=utc -no-reboot \
        -serial file:"$run/com1.txt" -serial file:"$run/kernel-log.txt" \
        -chardev pipe,id=qmp,path="$run/qmp" -mon chardev=qmp,mode=control \
        </dev/null >"$run/qemu.txt" 2>&1 &
    qemu=$!
    exec {reactos_qmp_fd}<>"$run/qmp.in"
    cat 0<>"$run/qmp.out" >"$run/qmp.log" &
    reader=$!
    reactos_qmp '{"execute":"qmp_capabilities"}'
    deadline=$((SECONDS + 300))
    while kill -0 "$qemu" 2>/dev/null; do
        while IFS= read -r line; do
            line=${line%$'\r'}
            case $line in
            end\ *)
                set -- $line
                echo "reactos | ${2%.exe}: exit code $3 after $4 s" ;;
            timeout\ *) reactos_screen "$run" "timeout-${line#timeout }" ;;
            quillane-reactos-done) done=1 ;;
            esac
            [ -z "$line" ] || deadline=$((SECONDS + reactos_limit + 60))
        done < <(tail -n +$((seen + 1)) "$run/com1.txt")
        seen=$(wc -l <"$run/com1.txt")
        now=$SECONDS
        [ -z "$done" ] || break
        if [ "$now" -ge "$deadline" ]; then
            reactos_screen "$run" "latest"
            sleep 2
            echo "reactos | the run timed out after $((now - reactos_start)) s"
            break
        fi
        if [ $((now - shot)) -ge 30 ]; then
            reactos_screen "$run" latest
            shot=$now
        fi
        sleep 2
    done
    # What the guest wrote reaches the disk image once its cache is written back.
    [ -z "$done" ] || sleep 5
    reactos_qmp '{"execute":"quit"}'
    for _ in $(seq 100); do
        kill -0 "$qemu" 2>/dev/null || break
        sleep 0.1
    done
    kill "$qemu" 2>/dev/null || true
    wait "$qemu" 2>/dev/null || true
    kill "$reader" 2>/dev/null || true
    wait "$reader" 2>/dev/null || true
    exec {reactos_qmp_fd}>&-
    [ -n "$done" ]
}

# Whether a test program passed as CTest judges it, printing its output when it did not.
reactos_result() {  # run-dir program
    local run=$1 program=$2 code output
    code=$(cat "$run/results/$program.code" 2>/dev/null || echo "no result")
    output=$(iconv -c -f CP932 -t UTF-8 "$run/results/$program.out" 2>/dev/null | tr -d '\r')
    if [ "$code" = 0 ] && ! grep -q 'Unhandled exception' <<<"$output"; then
        return 0
    fi
    [ -z "$output" ] || sed 's/^/reactos | /' <<<"$output"
    echo "reactos | $program: exit code $code"
    return 1
}

# The ReactOS half: appends "reactos passed failed" to the counts file, or prints why it
# cannot run and sets reactos_note.
run_reactos_tests() {  # counts-file
    local counts=$1 refusal run iso programs faults program case passed=0 failed=0 skip kept
    reactos_note=
    refusal=$(reactos_refusal)
    if [ -n "$refusal" ]; then
        reactos_note="reactos: not run, $refusal"
        echo "test: $reactos_note"
        return 0
    fi
    reactos_start=$SECONDS
    echo "test: reactos: the x86 test programs on ReactOS ($reactos_image)"
    iso=$(reactos_iso)
    run=$reactos_dir/run
    rm -rf "$run"
    mkdir -p "$run"
    # The session's DPI is the image's (96): the cases for another DPI do not run here.
    programs=$(ctest --test-dir "$top/build-x86" -N -LE 'reactos_fault|session_144dpi' |
        sed -n 's/^ *Test *#[0-9]*: //p')
    faults=$(ctest --test-dir "$top/build-x86" -N -L reactos_fault | sed -n 's/^ *Test *#[0-9]*: //p')
    # The reproductions first: a fault they show may last only part of the boot (the stand-in
    # font's does until the program has run), and the cases they stand for meet it there.
    reactos_disk "$run" $faults $programs >/dev/null
    if ! reactos_boot "$run" "$iso"; then
        failed=1
    else
        mcopy -s -i "$run/disk.img@@1M" ::/results "$run/"
    fi
    for program in $programs; do
        if reactos_result "$run" "$program"; then
            passed=$((passed + 1))
            echo "reactos | $program: passed"
        else
            failed=$((failed + 1))
            echo "reactos | $program: FAILED"
        fi
    done
    for skip in "${reactos_skips[@]}"; do
        set -- $skip
        echo "reactos | skipped on ReactOS: $1 $2, a ReactOS fault that $3 (tests/reactos) shows"
    done
    for skip in "${reactos_wine_only[@]}"; do
        set -- $skip
        program=$1 case=$2
        shift 2
        echo "reactos | skipped on ReactOS: $program $case, which needs Wine: $*"
    done
    for program in $faults; do
        if [ "$(cat "$run/results/$program.code" 2>/dev/null)" = 0 ]; then
            echo "reactos | $program: no longer shows its ReactOS fault: lift the skips that name it"
            failed=$((failed + 1))
        else
            echo "reactos | $program: shows its ReactOS fault (exit code" \
                "$(cat "$run/results/$program.code" 2>/dev/null || echo none)):" \
                "$(iconv -c -f CP932 -t UTF-8 "$run/results/$program.out" 2>/dev/null | tr -d '\r' | head -1)"
        fi
    done
    echo "reactos $passed $failed" >>"$counts"
    kept="$run (kernel-log.txt, com1.txt, results/)"
    if [ "$failed" -gt 0 ]; then
        for shot in "$run"/screens/*.ppm; do
            [ -f "$shot" ] && convert "$shot" "${shot%.ppm}.png" && rm -f "$shot"
        done
        kept+=", screens in $run/screens"
        echo "reactos | kept for a look: $kept"
    else
        rm -rf "$run/screens"
    fi
    echo "test: reactos: the ReactOS half took $((SECONDS - reactos_start)) s"
}
