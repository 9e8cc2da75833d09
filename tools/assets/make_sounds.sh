#!/usr/bin/env bash
# Makes the WAV files of data/sons: the spoken countdown, clock and finish announcements in
# French and English (espeak-ng), and the signals (sox). Every file is plain PCM WAV, mono,
# 16 bits, 16000 Hz, trimmed of silence, so that PlaySound plays it and the folder stays small.
# Usage: tools/assets/make_sounds.sh [output folder]   (default: data/sons)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-data/sons}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Repeatable mode: the same dither every run, so the files change only when the script does.
sox() { command sox -R "$@"; }

rate=16000
format=(-r "$rate" -c 1 -b 16 -e signed-integer)

# speak <voice> <file name without .wav> <text>
speak() {
  local voice=$1 name=$2 text=$3
  espeak-ng -v "$voice" -s 160 -p 45 -a 180 -w "$work/raw.wav" "$text"
  # Trim the silence at both ends, leave 40 ms of air, bring the peak to -1 dB.
  sox "$work/raw.wav" "${format[@]}" "$out/$name.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse pad 0.04 0.04 gain -n -1
}

# tone <file> <seconds> <sox synth arguments...>: one synthesised layer
tone() {
  local file=$1 seconds=$2
  shift 2
  sox -n "${format[@]}" "$file" synth "$seconds" "$@"
}

# --- Countdown and clock announcements, French names and English names ("GB") ---
speak fr-fr 60minutes "soixante minutes"
speak fr-fr 30minutes "trente minutes"
speak fr-fr 15minutes "quinze minutes"
speak fr-fr 5minutes "cinq minutes"
speak fr-fr 2minutes "deux minutes"
speak fr-fr 1minute "une minute"
speak fr-fr 30secondes "trente secondes"
speak fr-fr 10secondes "dix secondes"
speak fr-fr cinq "cinq"
speak fr-fr quatre "quatre"
speak fr-fr trois "trois"
speak fr-fr deux "deux"
speak fr-fr un "un"
speak fr-fr miCourse "mi-course"

speak en-gb 60minutesGB "sixty minutes"
speak en-gb 30minutesGB "thirty minutes"
speak en-gb 15minutesGB "fifteen minutes"
speak en-gb 5minutesGB "five minutes"
speak en-gb 2minutesGB "two minutes"
speak en-gb 1minuteGB "one minute"
speak en-gb 30secondesGB "thirty seconds"
speak en-gb 10secondesGB "ten seconds"
speak en-gb cinqGB "five"
speak en-gb quatreGB "four"
speak en-gb troisGB "three"
speak en-gb deuxGB "two"
speak en-gb unGB "one"
speak en-gb miCourseGB "half race"
speak en-gb 5minutesRaceGB "five minutes left"

# --- Each car's finish, slots 1 to 20 ---
for slot in $(seq 1 20); do
  speak fr-fr "FinCourseVoiture$slot" "Fin de course voiture $slot"
  speak en-gb "FinCourseVoiture${slot}GB" "Car $slot finished"
done

# --- Signals ---
# beep1: a short bright beep for each passage.
tone "$work/beep.wav" 0.12 sine 1320
sox "$work/beep.wav" "${format[@]}" "$out/beep1.wav" fade 0.005 0 0.04 gain -n -3

# buzz: a rough low buzz for a passage that came too early.
tone "$work/buzz.wav" 0.45 square 140
sox "$work/buzz.wav" "${format[@]}" "$out/buzz.wav" lowpass 1800 fade 0.01 0 0.05 gain -n -4

# foghorn: the start, a deep horn of two detuned reeds.
tone "$work/horn1.wav" 1.4 sawtooth 98
tone "$work/horn2.wav" 1.4 sawtooth 99.5
tone "$work/horn3.wav" 1.4 square 49
sox -m "$work/horn1.wav" "$work/horn2.wav" "$work/horn3.wav" "${format[@]}" "$out/foghorn.wav" \
  lowpass 900 fade 0.12 0 0.35 gain -n -2

# truckhorn: the end of the race, a two-tone air horn.
tone "$work/truck1.wav" 1.1 sawtooth 311
tone "$work/truck2.wav" 1.1 sawtooth 370
sox -m "$work/truck1.wav" "$work/truck2.wav" "${format[@]}" "$out/truckhorn.wav" \
  lowpass 2600 fade 0.03 0 0.15 gain -n -2

# nokia-sms: the countdown opening and the scan signal, three short, two long, three short.
pieces=()
n=0
for length in 0.07 0.07 0.07 0.2 0.2 0.07 0.07 0.07; do
  n=$((n + 1))
  tone "$work/sms$n.wav" "$length" sine 1760
  sox "$work/sms$n.wav" "$work/smsf$n.wav" fade 0.005 0 0.01 pad 0 0.06
  pieces+=("$work/smsf$n.wav")
done
sox "${pieces[@]}" "${format[@]}" "$out/nokia-sms.wav" gain -n -3

# youpi: a new best lap, a quick rising arpeggio (C, E, G, C; semitones above A 440 Hz).
pieces=()
n=0
for note in "%15 0.08" "%19 0.08" "%22 0.08" "%27 0.3"; do
  read -r pitch length <<<"$note"
  n=$((n + 1))
  tone "$work/yp$n.wav" "$length" pluck "$pitch"
  pieces+=("$work/yp$n.wav")
done
sox "${pieces[@]}" "${format[@]}" "$out/youpi.wav" gain -n -2

du -sh "$out"
