# Sourced: a throwaway Wine prefix inside the build folder, with the host's
# root folder NOT mapped as a drive (Wine's default Z:), and the test drive
# T: mapped to a folder of its own. Never touches ~/.wine.
#   WINE_ROOT   folder holding prefix, test drive and the fake home (required)
#   SCOURLY_WINE_TEMPLATE  a WINE_ROOT made earlier by this script: a new
#               prefix starts as a copy of its prefix (half a second, where
#               wineboot takes 13 s), then gets what is set below as usual
export WINEPREFIX="$WINE_ROOT/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Recycle Bin under Wine is the XDG trash: keep it inside the build tree.
export XDG_DATA_HOME="$WINE_ROOT/xdg-data"
export TEST_DRIVE="$WINE_ROOT/testdrive"
mkdir -p "$WINE_ROOT" "$XDG_DATA_HOME" "$TEST_DRIVE"
template=${SCOURLY_WINE_TEMPLATE:+$SCOURLY_WINE_TEMPLATE/prefix}
if [ ! -f "$WINEPREFIX/system.reg" ] && [ -n "$template" ] &&
  [ -f "$template/.scourly-registry-3" ]; then
  # Copied under another name and renamed: a copy cut short is never taken
  # for a prefix. Its server's key file stays behind (each prefix has its own).
  rm -rf "$WINEPREFIX.copy"
  cp -a "$template" "$WINEPREFIX.copy"
  rm -f "$WINEPREFIX.copy/wineserver"
  rm -rf "$WINEPREFIX"
  mv "$WINEPREFIX.copy" "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
# Z: is the whole host file system: a scan of all fixed drives would walk it
# and a delete-all could delete from it.
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/z::"
ln -sfn "$TEST_DRIVE" "$WINEPREFIX/dosdevices/t:"
# Two more drives, both declared network drives so that they are no fixed
# drives: the settings never list them and no scan walks them.
#   X: the fake home's data folder, so Windows tests can look into the
#      Recycle Bin (Trash/);
#   P: the folder of the program being run (wine-run.sh links it), so the
#      program has a drive path: Wine reports a program outside every drive
#      as "unix\...", a relative path, and files beside it go astray.
# The Windows test program's windows are not handed to a window manager:
# without one (Xvfb), Wine waits 2 s for each hidden window to be withdrawn.
if [ ! -f "$WINEPREFIX/.scourly-registry-3" ]; then
  for letter in x: p:; do
    wine reg add 'HKLM\Software\Wine\Drives' /v $letter /d network /f >/dev/null 2>&1
  done
  wine reg add 'HKCU\Software\Wine\AppDefaults\wine_tests.exe\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.scourly-registry-3"
fi
ln -sfn "$XDG_DATA_HOME" "$WINEPREFIX/dosdevices/x:"
# Wine finds its own fonts (Debian's fonts-wine) only in the prefix's font
# folder: Marlett draws the caption buttons, and the MS Sans Serif bitmap
# fonts (for 96 and 120 DPI; Wine scales them above) are the windows' font,
# which would otherwise fall back to a wider face and cut labels short.
for font in marlett.ttf sserife.fon sseriff.fon; do
  if [ -f "/usr/share/wine/fonts/$font" ]; then
    cp -n "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
done
