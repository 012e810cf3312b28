# Sourced by the scripts. Wine runs the 32-bit saver as a 32-bit Linux process, and some
# kernels run none (IA-32 emulation switched off, as on some virtual machines). An emulator
# registered for i386 (qemu-user) would run them, but far too slowly for the suite: that
# counts as no.
lv_i386_runs() {
  [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || return 1
  local loader
  for loader in /lib/ld-linux.so.2 /usr/lib/i386-linux-gnu/ld-linux.so.2; do
    [ -x "$loader" ] && { "$loader" --version >/dev/null 2>&1; return; }
  done
  return 1
}
