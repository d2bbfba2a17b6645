# Sourced after scripts/wine-env.sh: lets Windows test programs make Unix
# symbolic links on the test drive, which Wine itself cannot (its
# CreateSymbolicLink reports success and makes nothing). A program writes
# T:\.links\NAME.req holding two lines, the link and its target as Windows
# paths on T: (a target without a drive is relative to the link's folder);
# the loop makes the link and deletes the request. The same way it makes
# files and folders under names Windows programs cannot create, such as
# names ending in a space or a dot ("other systems and archives" make them):
# NAME.file holds the path on its first line and the content after it,
# NAME.dir the path alone.
source "$(dirname "${BASH_SOURCE[0]}")/nap.sh"
link_maker_pid=""
start_link_maker() {
  local requests="$TEST_DRIVE/.links"
  mkdir -p "$requests"
  (
    to_unix() {
      local path=${1//\\//}
      case "$path" in
        [Tt]:/*) printf '%s/%s' "$TEST_DRIVE" "${path:3}" ;;
        *) printf '%s' "$path" ;;
      esac
    }
    while true; do
      for req in "$requests"/*.req; do
        [ -e "$req" ] || continue
        { IFS= read -r link; IFS= read -r target; } < <(tr -d '\r' < "$req")
        ln -sfn "$(to_unix "$target")" "$(to_unix "$link")" 2>/dev/null || true
        rm -f "$req"
      done
      for req in "$requests"/*.file "$requests"/*.dir; do
        [ -e "$req" ] || continue
        IFS= read -r made < <(tr -d '\r' < "$req")
        if [ "${req##*.}" = dir ]; then
          mkdir -p "$(to_unix "$made")" 2>/dev/null || true
        else
          tail -n +2 "$req" > "$(to_unix "$made")" 2>/dev/null || true
        fi
        rm -f "$req"
      done
      nap 0.05
    done
  ) &
  link_maker_pid=$!
}
stop_link_maker() {
  if [ -n "$link_maker_pid" ]; then kill "$link_maker_pid" 2>/dev/null || true; fi
  link_maker_pid=""
}
