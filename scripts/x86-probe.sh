# Sourced by the set-up, test and bench scripts: whether this machine executes 32-bit x86 code.
# Some machines refuse it whatever their kernel's name or version says, so the only answer is
# to run a tiny static i386 program (it exits with 42) and see. Needs binutils (from g++).

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
