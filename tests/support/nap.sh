# Sourced: nap SECONDS waits without starting a process. A loop that polls
# with the sleep command every 50 ms forks twenty times a second: a tenth of
# a core per loop here. A read that times out on a FIFO nobody writes costs
# nothing.
nap_fd=""
nap() {
  if [ -z "$nap_fd" ]; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    exec {nap_fd}<>"$fifo"  # opened for both ends: never at end of file
    rm -f "$fifo"
  fi
  read -r -t "$1" -u "$nap_fd" _ || true
}
