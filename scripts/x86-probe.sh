# Sourced by the set-up, test and bench scripts ($top set): whether this machine executes 32-bit
# x86 code, and whether the x86 programs can run under Wine here. Some machines refuse 32-bit
# code whatever their kernel's name or version says, so the only answer is to run a tiny static
# i386 program (it exits with 42) and see. Needs binutils (from g++).

# Where set-up leaves why it could not install the 32-bit Wine.
wine32_missing="$top/build-x86/wine32-missing.txt"

package_installed() {  # package
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Empty when 32-bit code runs; otherwise why it does not, in a few words.
x86_refusal() {
    local probe output status
    probe=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$probe/exit42.s"
    if ! as --32 -o "$probe/exit42.o" "$probe/exit42.s" 2>/dev/null ||
        ! ld -m elf_i386 -o "$probe/exit42" "$probe/exit42.o" 2>/dev/null; then
        echo "the i386 probe program could not be built (as --32, ld -m elf_i386)"
    else
        status=0
        output=$("$probe/exit42" 2>&1) || status=$?
        [ "$status" -eq 42 ] ||
            echo "a static i386 program did not run (exit code $status${output:+: ${output##*: }})"
    fi
    rm -rf "$probe"
}

# Empty when the x86 programs can run under Wine here; otherwise why not, in a line.
x86_wine_refusal() {
    local refusal
    refusal=$(x86_refusal)
    if [ -n "$refusal" ]; then
        echo "this machine cannot execute 32-bit x86 code: $refusal"
    elif ! package_installed wine32:i386; then
        echo "no 32-bit Wine, $(cat "$wine32_missing" 2>/dev/null || echo "wine32:i386 is not installed")"
    fi
}
