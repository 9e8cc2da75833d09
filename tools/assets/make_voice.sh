#!/usr/bin/env bash
# Makes the snippets of the built-in voice that calls out lap times, data/sons/voix/*.wav, in
# French (the plain names) and English (the names ending in "GB"), spoken with espeak-ng: the
# numbers (English 0-59, its hundredths said digit by digit; French 0-99, and "une", "vingt et
# une" ... for minutes and hours), the decimal sign, minutes and hours, "lane", "best lap" and
# the positions 1 to 20. Every file is plain PCM WAV, mono, 16 bits, 16000 Hz, trimmed of its
# silence so that the program can join them one after another into a phrase.
# Usage: tools/assets/make_voice.sh [output folder]   (default: data/sons/voix)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-data/sons/voix}
mkdir -p "$out"
rm -f "$out"/*.wav
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Repeatable mode: the same dither every run, so the files change only when the script does.
sox() { command sox -R "$@"; }

# say <voice> <file name without .wav> <text>
say() {
  local voice=$1 name=$2 text=$3
  espeak-ng -v "$voice" -s 210 -p 45 -a 180 -w "$work/raw.wav" "$text"
  # Trim the silence at both ends, leave 15 ms of air, bring the peak to -1 dB.
  sox "$work/raw.wav" -r 16000 -c 1 -b 16 -e signed-integer "$out/$name.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse pad 0.015 0.015 gain -n -1
}

# --- French ---
say fr-fr 0 "zéro"
for n in $(seq 1 99); do say fr-fr "$n" "$n"; done
say fr-fr 1f "une"
say fr-fr 21f "vingt et une"
say fr-fr 31f "trente et une"
say fr-fr 41f "quarante et une"
say fr-fr 51f "cinquante et une"
say fr-fr virgule "virgule"
say fr-fr minute "minute"
say fr-fr minutes "minutes"
say fr-fr heure "heure"
say fr-fr heures "heures"
say fr-fr ligne "ligne"
say fr-fr meilleurTour "meilleur tour"
rank=1
for word in premier deuxième troisième quatrième cinquième sixième septième huitième neuvième \
    dixième onzième douzième treizième quatorzième quinzième seizième dix-septième \
    dix-huitième dix-neuvième vingtième; do
  say fr-fr "rang$rank" "$word"
  rank=$((rank + 1))
done

# --- English ---
say en-gb 0GB "zero"
for n in $(seq 1 59); do say en-gb "${n}GB" "$n"; done
say en-gb virguleGB "point"
say en-gb minuteGB "minute"
say en-gb minutesGB "minutes"
say en-gb heureGB "hour"
say en-gb heuresGB "hours"
say en-gb ligneGB "lane"
say en-gb meilleurTourGB "best lap"
rank=1
for word in first second third fourth fifth sixth seventh eighth ninth tenth eleventh twelfth \
    thirteenth fourteenth fifteenth sixteenth seventeenth eighteenth nineteenth twentieth; do
  say en-gb "rang${rank}GB" "$word"
  rank=$((rank + 1))
done

echo "$(ls "$out" | wc -l) files, $(du -sb "$out" | cut -f1) bytes in $out"
