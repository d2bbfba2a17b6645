# Sourced: a throwaway Wine prefix inside the build folder, with the host's
# root folder NOT mapped as a drive (Wine's default Z:), and the test drive
# T: mapped to a folder of its own. Never touches ~/.wine.
#   WINE_ROOT   folder holding prefix, test drive and the fake home (required)
export WINEPREFIX="$WINE_ROOT/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Recycle Bin under Wine is the XDG trash: keep it inside the build tree.
export XDG_DATA_HOME="$WINE_ROOT/xdg-data"
export TEST_DRIVE="$WINE_ROOT/testdrive"
mkdir -p "$WINE_ROOT" "$XDG_DATA_HOME" "$TEST_DRIVE"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
# Z: is the whole host file system: a scan of all fixed drives would walk it
# and a delete-all could delete from it.
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/z::"
ln -sfn "$TEST_DRIVE" "$WINEPREFIX/dosdevices/t:"
