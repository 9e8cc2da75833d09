// Texts of the application shell: menus, race panel, session commands and dialogs.
#ifndef ZARVO_TEXT_APP_TEXTS_H
#define ZARVO_TEXT_APP_TEXTS_H

// Menu bar of the main window.
#define TXT_MENU_FILE ZT("File", "Fichier")
#define TXT_MENU_NEW_SESSION ZT("New session", "Nouvelle séance")
#define TXT_MENU_LOAD_SESSION ZT("Load session", "Charger une séance")
#define TXT_MENU_SAVE ZT("Save", "Enregistrer")
#define TXT_MENU_SAVE_AS ZT("Save as...", "Enregistrer sous...")
#define TXT_MENU_IMPORT_SMARTPHONE ZT("Import smartphone", "Import smartphone")
#define TXT_MENU_QUIT ZT("Quit", "Quitter")
#define TXT_MENU_DATABASE ZT("Database", "Base de données")
#define TXT_MENU_CIRCUITS ZT("Circuits", "Circuits")
#define TXT_MENU_DRIVERS ZT("Drivers", "Pilotes")
#define TXT_MENU_CARS ZT("Cars", "Voitures")
#define TXT_MENU_FREQUENCIES ZT("Frequencies", "Fréquences")
#define TXT_MENU_RUNS_SYNTHESIS ZT("Runs synthesis", "Synthèses runs")
#define TXT_MENU_SETTINGS ZT("Settings", "Réglages")
#define TXT_MENU_SOUND ZT("Sound", "Sons")
#define TXT_MENU_DISPLAY ZT("Display", "Affichage")
#define TXT_MENU_INTERFACE ZT("Interface", "Interface")
#define TXT_MENU_HELP_TITLE ZT("?", "?")
#define TXT_MENU_HELP ZT("Help", "Aide")
// The one-item pop-up menus of the session tree.
#define TXT_MENU_RENAME_SESSION ZT("Rename session", "Renommer la séance")
#define TXT_MENU_TRACK ZT("Track for the session", "Piste pour la séance")
#define TXT_MENU_PARTICIPANTS ZT("List of participants", "Liste participants")
#define TXT_MENU_RUN_PARAMETERS ZT("Run parameters", "Paramètres de course")
#define TXT_MENU_ADD_RUN ZT("Add a run", "Ajouter un run")

// The help document, after the program folder's path.
#define TXT_HELP_DOCUMENT ZT("\\Guides\\HelpTrainingGB.pdf", "\\Guides\\HelpTrainingFR.pdf")

// Race panel of the main window: buttons, the labels under them, group boxes, transponder modes.
#define TXT_PANEL_START ZT("Start", "Depart")
#define TXT_PANEL_START_LABEL ZT("Start", "Départ")
#define TXT_PANEL_STOP ZT("Stop", "Arret")
#define TXT_PANEL_STOP_LABEL ZT("Stop", "Arret")
#define TXT_PANEL_CLEAR ZT("Clear", "Effacer")
#define TXT_PANEL_CLEAR_LABEL ZT("Clear", "Effacer")
#define TXT_PANEL_CLOCK_GROUP ZT("Race duration / Clock", "Durée course / Horloge")
#define TXT_PANEL_COUNTDOWN_GROUP ZT("Countdown", "Décompte")
#define TXT_PANEL_TRANSPONDER_GROUP ZT("Transponders mode", "Mode transpondeurs")
#define TXT_PANEL_PERSONAL_CHIPS ZT("Personal chips", "Puces perso")
#define TXT_PANEL_MIXED_SCAN ZT("Mixed (scan)", "Mixte (scan)")
#define TXT_PANEL_SCAN ZT("Scan", "Scan")

// The nodes of a new session in the session tree.
#define TXT_TREE_TRACK ZT("Track", "Piste")
#define TXT_TREE_DRIVERS ZT("Drivers (%d)", "Pilotes (%d)")
#define TXT_TREE_PARAMETERS ZT("Parameters", "Paramètres")
#define TXT_TREE_SESSIONS ZT("Sessions", "Sessions")

// Shown at every start, after the decoder report.
#define TXT_STARTUP_WARNING_TITLE ZT("Important Message", "Message Important")
#define TXT_STARTUP_WARNING \
  ZT("The printing of documents with the latest versions of Windows 11 can produce a bug " \
     "resulting in software closure.\nIf your computer run under W11, before any using of the " \
     "software, verify this by doing 2 consecutive document printing. If the bug appears, the " \
     "printing of race results should not be done directly, but by using screenshots.\nWe " \
     "curently work on solving this problem.", \
     "Les impressions de documents avec les dernières versions de Windows 11 peuvent provoquer " \
     "un bug entrainant la fermeture du logiciel.\nSi vous êtes sous W11, avant toute " \
     "utilisation du logiciel, veuillez tester l'impression en imprimant au moins 2 documents " \
     "consécutifs. Si ce bug apparait, pour pouvoir imprimer un document de course à partir du " \
     "logiciel, il ne faudra pas l'imprimer directement, mais passer par une capture " \
     "d'écran.\nNous travaillons actuellement à une résolution de ce problème.")

// Closing the main window.
#define TXT_QUIT_REFUSED \
  ZT("A race or a scan is in progress!\r\nYou can't quit the application !", \
     "Un run est en cours!\r\nVous ne pouvez pas fermer l'application !")
#define TXT_QUIT_SAVE_QUESTION \
  ZT("You wish to quit!\nDo you want to save the current session?", \
     "Vous allez quitter!\nSouhaitez-vous sauvegarder la séance en cours?")

// The session file (working copy "Private/Session.trng").
#define TXT_SESSION_FILE_NOT_FOUND \
  ZT("Error: Session file not found", "Erreur: impossible d'ouvrir le fichier Session")
#define TXT_SESSION_NO_PARTICIPANTS_TITLE \
  ZT("Error: Title of participants list not found", \
     "Erreur: Intitulé de Liste des participants non trouvé")
#define TXT_SESSION_NO_TRACK_TITLE \
  ZT("Error: Title of the track not found", "Erreur: Intitulé de Piste Session non trouvé")
#define TXT_SESSION_NO_PARAMETERS_TITLE \
  ZT("Error: Title of race parameters not found", "Erreur: Intitulé Paramètres de course non trouvé")
#define TXT_SESSION_NO_RUN_TITLE \
  ZT("Error: Title of the run not found", "Erreur: Intitulé de la Série non trouvé")

#endif
