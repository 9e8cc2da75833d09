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

// The Settings menu's item and its dialog "RESULTATSDIRECT".
#define TXT_MENU_LIVE_RESULTS ZT("Live results on the network…", "Résultats en direct sur le réseau…")
#define TXT_LIVE_DIALOG_TITLE ZT("Live results on the network", "Résultats en direct sur le réseau")
#define TXT_LIVE_ON ZT("Serve the live results to the phones of the club network", \
                       "Servir les résultats en direct aux téléphones du réseau du club")
#define TXT_LIVE_PORT ZT("Port:", "Port :")
#define TXT_LIVE_PORT_HINT ZT("(1 to 65535; 8080 unless another program uses it)", \
                              "(1 à 65535 ; 8080 sauf si un autre programme l'utilise)")
#define TXT_LIVE_ADDRESSES ZT("Address to open on the phones:", "Adresse à ouvrir sur les téléphones :")
#define TXT_LIVE_NO_ADDRESS \
  ZT("No network address found: connect the PC to the club network.", \
     "Aucune adresse réseau trouvée : connectez le PC au réseau du club.")
// The status line: what the server is doing now.
#define TXT_LIVE_STATUS_STOPPED ZT("Stopped: phones cannot reach the results.", \
                                   "Arrêté : les téléphones n'ont pas accès aux résultats.")
#define TXT_LIVE_STATUS_RUNNING ZT("Running on port %d.", "En marche sur le port %d.")
#define TXT_LIVE_STATUS_PORT_TAKEN \
  ZT("The port %d is taken by another program: choose another port or close that program.", \
     "Le port %d est pris par un autre programme : choisissez un autre port ou fermez ce programme.")
#define TXT_LIVE_STATUS_PORT_FORBIDDEN \
  ZT("Windows does not let the program use the port %d: choose another port.", \
     "Windows ne laisse pas le programme utiliser le port %d : choisissez un autre port.")
#define TXT_LIVE_STATUS_FAILED ZT("The server could not start on the port %d (error %d).", \
                                  "Le serveur n'a pas pu démarrer sur le port %d (erreur %d).")
// Messages of the dialog and of the program's start.
#define TXT_LIVE_PORT_INVALID ZT("The port must be a number from 1 to 65535.", \
                                 "Le port doit être un nombre de 1 à 65535.")
#define TXT_LIVE_SETTINGS_DAMAGED \
  ZT("The live results settings file \"RéglagesRésultatsEnDirect.rg\" is damaged: the live results are off on port 8080 until you confirm the dialog \"Live results on the network\".", \
     "Le fichier de réglages des résultats en direct \"RéglagesRésultatsEnDirect.rg\" est endommagé : les résultats en direct sont arrêtés sur le port 8080 jusqu'à ce que vous validiez la fenêtre \"Résultats en direct sur le réseau\".")
#define TXT_LIVE_SETTINGS_NOT_WRITTEN \
  ZT("The live results settings file \"RéglagesRésultatsEnDirect.rg\" could not be written.", \
     "Le fichier de réglages des résultats en direct \"RéglagesRésultatsEnDirect.rg\" n'a pas pu être écrit.")

#endif
