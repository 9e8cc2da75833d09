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

#endif
