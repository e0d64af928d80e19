# Sourced by scripts/demo and the whole-update benchmark: a throw-away home, system root and reader
# bundle for one updater run, and the local update service stand-in. Every function takes the build
# folder from $tr_build and the throw-away folder from $tr_root, and leaves what it starts in $tr_pids.

tr_pids=()

tr_stop_all() {
  for pid in "${tr_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}

# The home, system root and temporary folder; the updater's local sockets live there too.
tr_enter_root() {
  export HOME=$tr_root/home KELVRIN_SYSTEM_ROOT=$tr_root/system TMPDIR=$tr_root/tmp
  export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
  export XDG_RUNTIME_DIR=$tr_root/runtime
  mkdir -p "$HOME/Library/Preferences" "$KELVRIN_SYSTEM_ROOT" "$TMPDIR" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# The reader's preferences: English, the debug log on (1) or off (0).
tr_write_preferences() {
  cat >"$HOME/Library/Preferences/com.kelvrin-software.Kelvrin.PDF.Reader.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>Preferences.General.bDebugMode</key><integer>$1</integer>
  <key>Preferences.Languages.nChooseLan</key><integer>31</integer>
  <key>Preferences.Languages.nChooseCountry</key><integer>225</integer>
</dict>
</plist>
PLIST
}

# The Installer and "open" stand-ins, an empty install history and the marker folder.
tr_place_system() {
  local installer_app=$KELVRIN_SYSTEM_ROOT/System/Library/CoreServices/Installer.app
  mkdir -p "$installer_app/Contents/MacOS" "$KELVRIN_SYSTEM_ROOT/usr/bin" "$KELVRIN_SYSTEM_ROOT/Library/Receipts" \
    "$KELVRIN_SYSTEM_ROOT/usr/local/share/kelvrin/Kelvrin PDF Reader/ACUpdate" "$KELVRIN_SYSTEM_ROOT/Users/Shared"
  ln -s "$tr_build/tools/standin/standin_installer" "$installer_app/Contents/MacOS/Installer"
  ln -s "$tr_build/tools/standin/standin_open" "$KELVRIN_SYSTEM_ROOT/usr/bin/open"
  tr_history=$KELVRIN_SYSTEM_ROOT/Library/Receipts/InstallHistory.plist
  cat >"$tr_history" <<'PLIST'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<array/>
</plist>
PLIST
}

# The reader bundle, with the updater copied into its own bundle inside (a copy: the updater finds
# the reader's files from its own folder, and links would lead it out of the bundle). The installed
# components are given as "NAME VERSION" arguments.
tr_make_bundle() {
  tr_bundle=$tr_root/Applications/Kelvrin\ PDF\ Reader.app/Contents
  tr_updater=$tr_bundle/Helpers/Updater.app/Contents/MacOS/updater
  mkdir -p "$tr_bundle/MacOS" "$tr_bundle/Resources" "$(dirname "$tr_updater")"
  cp "$tr_build/updater/app/updater" "$tr_updater"
  {
    echo "<updater_info>"
    for component in "$@"; do
      echo "  <module name=\"${component% *}\" version=\"${component#* }\"/>"
    done
    echo "</updater_info>"
  } >"$tr_bundle/Resources/UpdaterInfo.xml"
}

# A package of FOLDER's files plus a Setup.xml that lists one stand-in installer, NAME.pkg, which
# leaves a proof file: tr_make_package NAME FOLDER PACKAGE [VERSION]
tr_make_package() {
  printf '<Setup>\n  <file name="%s.pkg"/>\n</Setup>\n' "$1" >"$2/Setup.xml"
  printf '#standin\nproof=/Users/Shared/%s-installed.txt\nversion=%s\n' "$1" "${4:-1.0}" >"$2/$1.pkg"
  "$tr_build/tools/vzippack/vzippack" --level 1 "$2" "$3" >/dev/null
}

# Starts the service stand-in with MANIFEST and the service's options; sets $tr_port.
tr_start_service() {
  local manifest=$1
  shift
  "$tr_build/tools/updateservice/kelvrin_update_service" --manifest "$manifest" --lifetime 900 "$@" \
    >"$tr_root/service.out" 2>&1 &
  tr_pids+=($!)
  for _ in $(seq 600); do
    [ -s "$tr_root/service.out" ] && break
    sleep 0.1
  done
  tr_port=$(head -n 1 "$tr_root/service.out")
}

# The command line as the reader gives it for a check of TYPE; values with blanks are quoted, since
# the updater joins its arguments into one command string and splits that at blanks outside quotes.
tr_reader_arguments() {
  tr_arguments=(-updater -type "\"$1\"" -version 12.0.0.1 -readerpath "\"$tr_bundle/MacOS\""
    -InternalUpdateURL "http://127.0.0.1:$tr_port/check")
}

# Loads the dialog robot into the next updater run with SCRIPT, logging to LOG.
tr_use_robot() {
  export QT_PLUGIN_PATH=$tr_build/plugins QT_QPA_GENERIC_PLUGINS=kelvrinrobot
  export KELVRIN_ROBOT_SCRIPT=$1 KELVRIN_ROBOT_LOG=$2
}
