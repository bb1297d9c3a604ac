#!/usr/bin/env bash
# Prints telvora's arguments, one per line: the given ones, followed by
# "--device" and "demo" when nothing names a phone yet (no stored port, no
# stored device, no --device given). So a fresh installation starts connected
# to the built-in demo phone instead of asking for a serial port first.
# The settings are the INI file QSettings keeps for "Telvora"/"Telvora".
set -euo pipefail

conf="${XDG_CONFIG_HOME:-$HOME/.config}/Telvora/Telvora.conf"

device_given=false
for arg in "$@"; do
  printf '%s\n' "$arg"
  case $arg in
    --device | --device=*) device_given=true ;;
  esac
done

# setting KEY: the value of KEY in the [Conf] group, empty when missing.
setting() {
  [[ -r $conf ]] || return 0
  awk -v key="$1" '
    /^[ \t]*\[/ { group = $0; gsub(/[ \t]/, "", group); next }
    group == "[Conf]" {
      i = index($0, "=")
      if (i == 0) next
      name = substr($0, 1, i - 1); gsub(/^[ \t]+|[ \t]+$/, "", name)
      if (name != key) next
      value = substr($0, i + 1); gsub(/^[ \t]+|[ \t]+$/, "", value); gsub(/"/, "", value)
      print value
      exit
    }' "$conf"
}

if ! $device_given && [[ -z $(setting port) && -z $(setting device) ]]; then
  printf '%s\n' --device demo
fi
