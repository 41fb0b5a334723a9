# Sourced by the scripts that run Windows programs under Wine: a prefix of the caller's own, a sound device that plays
# nothing (so that waveOut has a device, as on a machine with a sound card), and no Wine process left from an earlier
# run, whose desktop would be bound to that run's display, which is gone. Call wine_done when finished.
: "${WINEPREFIX:?a Wine prefix of the test command's own}"
export WINEPREFIX WINEDEBUG=-all
# wine64 alone (without the wine launcher package) lives in /usr/lib/wine.
wine=/usr/lib/wine/wine64
wine_alsa=$(mktemp)
printf '</usr/share/alsa/alsa.conf>\npcm.!default { type null }\n' > "$wine_alsa"
export ALSA_CONFIG_PATH="$wine_alsa"
/usr/lib/wine/wineserver -k 2>/dev/null || true
wine_done() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -f "$wine_alsa"
}
