// Texts of the live results page that phones open on the club network.
#ifndef ZARVO_TEXT_WEB_TEXTS_H
#define ZARVO_TEXT_WEB_TEXTS_H

// The page's title and heading.
#define TXT_WEB_TITLE ZT("Live results", "Résultats en direct")
// The run above the live table, after the session name.
#define TXT_WEB_RUN ZT("Run %d", "Run %d")
// The state of the live run.
#define TXT_WEB_STATE_WAITING ZT("Waiting for the start", "En attente du départ")
#define TXT_WEB_STATE_COUNTDOWN ZT("Countdown", "Décompte")
#define TXT_WEB_STATE_RUNNING ZT("Running", "En course")
#define TXT_WEB_STATE_FINISHED ZT("Finished", "Terminé")
// The clock texts' captions.
#define TXT_WEB_REMAINING ZT("Remaining", "Restant")
#define TXT_WEB_ELAPSED ZT("Elapsed", "Ecoulé")
#define TXT_WEB_DURATION ZT("Duration", "Durée")
// Column heading of the position; the other headings are the results table's.
#define TXT_WEB_POSITION ZT("Pos.", "Pos.")
// A run without a driver.
#define TXT_WEB_NO_DRIVER ZT("No driver in this run", "Aucun pilote dans ce run")
// The other runs of the session, below the live run.
#define TXT_WEB_OTHER_RUNS ZT("Other runs of the session", "Autres runs de la séance")
#define TXT_WEB_NO_OTHER_RUN ZT("No other run timed yet", "Aucun autre run chronométré")
// The lap list of a driver, opened by tapping his row.
#define TXT_WEB_LAP ZT("Lap", "Tour")
#define TXT_WEB_NO_LAP ZT("No lap yet", "Aucun tour")
#define TXT_WEB_TAP_HINT ZT("Tap a driver for his laps", "Touchez un pilote pour ses tours")
// Shown while the page cannot reach the program.
#define TXT_WEB_OFFLINE ZT("Connection lost: retrying...", "Connexion perdue: nouvel essai...")

// Refusals of the live results server (plain text bodies).
#define TXT_WEB_NOT_FOUND ZT("Not found", "Introuvable")
#define TXT_WEB_METHOD_REFUSED ZT("Only reading is allowed", "Lecture seule")
#define TXT_WEB_BODY_REFUSED ZT("Requests with a body are refused", "Les requêtes avec un corps sont refusées")

#endif
