// Texts of the race timing core: run title, clock and countdown texts, race panel, event line.
#ifndef ZARVO_TEXT_RACE_TEXTS_H
#define ZARVO_TEXT_RACE_TEXTS_H

// Written when a run starts: local date and time, then the duration text.
#define TXT_RUN_TITLE \
  ZT("Start %04u/%02u/%02u %02u:%02u:%02u - Duration %s", \
     "Départ %04u/%02u/%02u %02u:%02u:%02u - Durée %s")
// Duration text of a lap run.
#define TXT_DURATION_LAPS ZT("%d laps", "%d tours")
// Shown on the event line while two participants share a radio frequency.
#define TXT_RADIO_CONFLICT ZT("  Radio Conflict ", " Conflit Radio ")

// "Clear" asks before the results of the run are lost.
#define TXT_CLEAR_QUESTION \
  ZT("Are you sure you want to clear the results of the current run?\nThe data will be definitively lost.", \
     "Etes vous sûr de vouloir effacer les résultats du run?\nLes données seront définitivement perdues")
// State of the transponder scan, shown beside the "Scan" button.
#define TXT_SCAN_OFF ZT(" Off", " Off")
#define TXT_SCAN_IN_PROGRESS ZT(" Scan in progress", " Scan en cours")
#define TXT_CHECK_IN_PROGRESS ZT(" Check in progress", " Vérif en cours")
#define TXT_CHECK_COMPLETED ZT(" Check completed", " Vérif terminée")

#endif
