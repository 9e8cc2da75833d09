// Texts of the lap callouts: the words a speech voice is given to say a lap.
#ifndef ZARVO_TEXT_SPEECH_TEXTS_H
#define ZARVO_TEXT_SPEECH_TEXTS_H

// Said instead of the driver's name when his slot has none: the results table's lane column.
#define TXT_CALLOUT_LANE ZT("Lane %d", "Ligne %d")
// The decimal separator of a lap time ("21.35" / "21,35").
#define TXT_CALLOUT_DECIMAL ZT(".", ",")
// The minutes and hours of a lap over a minute ("1 minute 2.40").
#define TXT_CALLOUT_ONE_MINUTE ZT("1 minute", "une minute")
#define TXT_CALLOUT_MINUTES ZT("%d minutes", "%d minutes")
#define TXT_CALLOUT_ONE_HOUR ZT("1 hour", "une heure")
#define TXT_CALLOUT_HOURS ZT("%d hours", "%d heures")
// A lap that improves the driver's best.
#define TXT_CALLOUT_BEST_LAP ZT("best lap", "meilleur tour")
// The positions 1 to 20 in the standings, separated by '|'.
#define TXT_CALLOUT_POSITIONS \
  ZT("first|second|third|fourth|fifth|sixth|seventh|eighth|ninth|tenth|eleventh|twelfth|" \
     "thirteenth|fourteenth|fifteenth|sixteenth|seventeenth|eighteenth|nineteenth|twentieth", \
     "premier|deuxième|troisième|quatrième|cinquième|sixième|septième|huitième|neuvième|" \
     "dixième|onzième|douzième|treizième|quatorzième|quinzième|seizième|dix-septième|" \
     "dix-huitième|dix-neuvième|vingtième")

// The Settings menu's item and its dialog "ANNONCESTOURS".
#define TXT_MENU_LAP_CALLOUTS ZT("Lap callouts…", "Annonces des tours…")
#define TXT_CALLOUT_DIALOG_TITLE ZT("Lap callouts", "Annonces des tours")
#define TXT_CALLOUT_ON \
  ZT("Call out each lap (driver and lap time)", "Annoncer chaque tour (pilote et temps du tour)")
#define TXT_CALLOUT_BEST_ONLY ZT("Only the best laps", "Seulement les meilleurs tours")
#define TXT_CALLOUT_POSITION ZT("Say the position", "Annoncer la position")
#define TXT_CALLOUT_VOICE_NOTE \
  ZT("Said by the Windows voice of the language when one is installed, otherwise by the " \
     "program's own voice, which gives the lane instead of the name.", \
     "Dites par la voix Windows de la langue si elle est installée, sinon par la voix du " \
     "programme, qui donne la ligne au lieu du nom.")
// The settings file "RéglagesAnnoncesTours.rg" could not be read or written.
#define TXT_CALLOUT_SETTINGS_DAMAGED \
  ZT("The lap callouts settings file cannot be read: the callouts are off.", \
     "Le fichier des réglages des annonces des tours est illisible : les annonces sont coupées.")
#define TXT_CALLOUT_SETTINGS_NOT_WRITTEN \
  ZT("The lap callouts settings could not be written.", \
     "Les réglages des annonces des tours n'ont pas pu être enregistrés.")

#endif
