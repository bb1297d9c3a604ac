#!/usr/bin/env bash
# Standard GSM clients (gammu, gsmlib's gsm-utils) drive telvora-phonesim: each
# action must succeed and show the simulated phone's data exactly.
# Usage: clients_test.sh PHONESIM PRELOAD_LIBRARY. Exits 77 (skipped) when
# neither client is installed.
set -u
phonesim=$(realpath "$1")
preload=$(realpath "$2")
have_gammu=0
have_gsmlib=0
command -v gammu >/dev/null && have_gammu=1
command -v gsmctl >/dev/null && have_gsmlib=1
if ((!have_gammu && !have_gsmlib)); then
  echo "SKIPPED: neither gammu nor gsm-utils is installed (apt-get install gammu gsm-utils)"
  exit 77
fi

work=$(mktemp -d)
cd "$work" || exit 1 # clients may leave files where they run (gsmpb: "-")
sim_pid=
cleanup() {
  [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0

# start_phone: a fresh demo phone, its device in $device.
start_phone() {
  if [[ -n $sim_pid ]]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
  fi
  # The last phone's device path goes first: the new one writes its own only
  # once it runs.
  rm -f "$work/device"
  : >"$work/control"
  : >"$work/transcript"
  "$phonesim" --latency 0 --control "$work/control" --save "$work/saved.json" \
    --transcript "$work/transcript" >"$work/device" 2>"$work/phonesim.err" </dev/null &
  sim_pid=$!
  for _ in $(seq 300); do  # a loaded machine may take its time
    [[ -s $work/device ]] && break
    sleep 0.1
  done
  device=$(head -1 "$work/device")
  if [[ -z $device ]]; then
    echo "FAIL the simulator did not start"
    cat "$work/phonesim.err"
  fi
  printf '[gammu]\ndevice = %s\nconnection = at19200\n' "$device" >"$work/gammurc"
}

# check NAME COMMAND...: runs the client action, which must succeed; its output
# is in $work/out for the expectations that follow.
check() {
  local name=$1
  shift
  current=$name
  if ! timeout 30 "$@" </dev/null >"$work/out" 2>&1; then
    echo "FAIL $name: the client failed"
    sed 's/^/    /' "$work/out" | tail -20
    failures=$((failures + 1))
    return 1
  fi
  echo "ok   $name"
}

# wait_for FILE TEXT: waits up to 15 s until FILE holds TEXT.
wait_for() {
  local i
  for ((i = 0; i < 150; i++)); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# stop_phone: ends the simulator, which saves its state to $work/saved.json.
stop_phone() {
  kill "$sim_pid"
  wait "$sim_pid" 2>/dev/null
  sim_pid=
}

# shows TEXT...: each text is in the last action's output.
shows() {
  local text
  for text in "$@"; do
    if ! grep -qF -- "$text" "$work/out"; then
      echo "FAIL $current: missing \"$text\""
      sed 's/^/    /' "$work/out" | tail -20
      failures=$((failures + 1))
    fi
  done
}

if ((have_gammu)); then
  start_phone
  check "gammu identify" gammu -c "$work/gammurc" identify &&
    shows "Manufacturer         : Telvora" "Phonesim PS-1" "PS-1 R1A 2026" \
      "IMEI                 : 352099001761481" "SIM IMSI             : 230019876543210"
  check "gammu getallsms" gammu -c "$work/gammurc" getallsms &&
    shows "Dekuji za prani k narozeninam! Jana" 'Remote number        : "+420777888999"' \
      "Ahoj! Zítra v půl sedmé u kina, těším se. Lucie" \
      "Concatenated (linked) message, ID (8 bit) 42, part 3 of 3" \
      "Hi, your parcel will be delivered tomorrow between 9 and 12."
  check "gammu getallmemory SM" gammu -c "$work/gammurc" getallmemory SM &&
    shows 'Name                 : "Martina Dvořáková"' 'General number       : "+420603123456"' \
      'Name                 : "Tomáš Černý"' 'Name                 : "Pizza Roma"'
  check "gammu networkinfo" gammu -c "$work/gammurc" networkinfo &&
    shows 'Name in phone        : "T-Mobile CZ"' "230 01" "LAC 1A2B, CID 3C4D" \
      "Network state        : home network"
  check "gammu sendsms" gammu -c "$work/gammurc" sendsms TEXT +420603123456 -text "Ahoj z gammu" &&
    shows "OK, message reference=1"
  long_text=$(printf 'Dlouha zprava o vecernim programu cislo %s. ' 1 2 3 4 5)
  check "gammu sendsms long" gammu -c "$work/gammurc" sendsms TEXT +420603123456 -len 400 -autolen 400 \
    -text "$long_text" && shows "Sending SMS 2/2"
  check "gammu dialvoice" gammu -c "$work/gammurc" dialvoice +420603123456
  check "gammu cancelcall" gammu -c "$work/gammurc" cancelcall
  # Both messages came back into the phone store as received ones.
  check "gammu getallsms after sending" gammu -c "$work/gammurc" getallsms &&
    shows "Ahoj z gammu" "Dlouha zprava o vecernim programu cislo 1." "part 2 of 2"
  # Monitoring runs until interrupted: the news comes once it shows the
  # first status, and what it saw meanwhile counts. Line-buffered, so that
  # its output can be watched.
  current="gammu monitor"
  timeout -s INT 40 stdbuf -oL gammu -c "$work/gammurc" monitor 1000000 >"$work/out" 2>&1 </dev/null &
  monitor_pid=$!
  wait_for "$work/out" "Signal strength" &&
    echo "sms +420724555018 Ahoj z monitoru" >>"$work/control" &&
    wait_for "$work/out" "Ahoj z monitoru" &&
    echo "ring +420724555018 4" >>"$work/control" &&
    wait_for "$work/out" "incoming call from"
  kill -INT "$monitor_pid" 2>/dev/null
  wait "$monitor_pid"
  echo "ok   gammu monitor (interrupted)"
  shows "Signal strength      : -77 dBm" "Battery level        : 80 percent" \
    "Network              : 230 01 (T-Mobile, Czech Republic), LAC 1A2B, CID 3C4D" \
    "SMS message received" "Ahoj z monitoru" 'incoming call from "+420724555018"'
fi

if ((have_gsmlib)); then
  start_phone
  check "gsmsmsstore -l" env LD_PRELOAD="$preload" gsmsmsstore -s "$device" -t ME -l &&
    shows "Ahoj, prijdes dnes vecer na veceri? Martina" "Originating address: '420603123456'" \
      "Hi, your parcel will be delivered tomorrow between 9 and 12."
  check "gsmpb -d - -c" env LD_PRELOAD="$preload" gsmpb -s "$device" -p SM -d - -c &&
    shows "|Petr Svoboda|420724555018" "|Pizza Roma|+420257312000" "+420603123456"
  check "gsmsendsms" env LD_PRELOAD="$preload" gsmsendsms -d "$device" +420603123456 "Ahoj z gsmlib"
  check "gsmctl ALL" env LD_PRELOAD="$preload" gsmctl -d "$device" ALL &&
    shows "<ME0>  Manufacturer: Telvora" "<ME1>  Model: Phonesim PS-1" \
      "<ME2>  Revision: PS-1 R1A 2026" "<ME3>  Serial Number: 352099001761481" \
      "<FUN>  Functionality Level: 1" \
      "<OP0>  Status: current  Long name: 'T-Mobile CZ'   Short name: 'T-Mobile CZ'" \
      "<CURROP0>  Long name: 'T-Mobile CZ'   Short name: 'T-Mobile CZ'   Numeric name: 23001  Mode: automatic" \
      "<FLCAP0>  'SC' 'AO' 'OI' 'AI' 'IR'" "<PW0>  'SC' 8" "<PIN0> READY" "<CLIP0>  on" \
      "<FORW0.0>  UnconditionalReason  Voice  inactive" "<BATT0>  0 ME is powered by the battery" \
      "<BATT1>  80" "<SCA0>  +420603052000" "<CSET0>  'GSM' 'IRA' '8859-1' 'UCS2' 'HEX'" \
      "<CSET1>  'GSM'" "<SIG0>  18" "<BITERR0>  99"

  # The SMS daemon: a message that arrives is read (after +CMTI) and printed
  # (an action given with -a would get the text only up to the NUL that gsmlib
  # puts after a time stamp); a message in the spool directory is sent.
  current="gsmsmsd"
  mkdir -p "$work/spool" "$work/spool-sent"
  printf '+420603123456\nAhoj ze spoolu\n' >"$work/spool/message"
  env LD_PRELOAD="$preload" timeout -s INT 30 stdbuf -oL gsmsmsd -d "$device" -s "$work/spool" \
    -S "$work/spool-sent" sms >"$work/out" 2>&1 </dev/null &
  smsd_pid=$!
  if wait_for "$work/transcript" "> AT+CNMI=2,1"; then
    echo "sms +420724555018 Ahoj ze smsd" >>"$work/control"
    wait_for "$work/out" "User data: 'Ahoj ze smsd'"
    wait_for "$work/spool-sent/message" "Ahoj ze spoolu"
  fi
  # It looks for a stop every few seconds.
  kill -INT "$smsd_pid" 2>/dev/null
  if wait "$smsd_pid"; then
    echo "ok   gsmsmsd"
  else
    echo "FAIL gsmsmsd: the daemon failed"
    sed 's/^/    /' "$work/out" | tail -20
    failures=$((failures + 1))
  fi
  shows "Message type: SMS-DELIVER" "SC address: '420603052000'" \
    "Originating address: '420724555018'" "User data: 'Ahoj ze smsd'"

  stop_phone
  cp "$work/saved.json" "$work/out" 2>/dev/null || : >"$work/out"
  current="the phone's sent messages"
  shows '"text": "Ahoj z gsmlib"' '"text": "Ahoj ze spoolu"'
fi

echo "$failures failure(s)"
((failures == 0))
