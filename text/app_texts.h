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

// The session tree's nodes.
#define TXT_TREE_TRACK ZT("Track", "Piste")
#define TXT_TREE_DRIVERS ZT("Drivers (%d)", "Pilotes (%d)")
#define TXT_TREE_PARAMETERS ZT("Parameters", "Paramètres")
#define TXT_TREE_SESSIONS ZT("Sessions", "Sessions")
#define TXT_TREE_RUN ZT("Run %d", "Run %d")

// Session commands of the File menu (the question of closing is above).
#define TXT_NEW_SESSION_QUESTION \
  ZT("You wish to begin a new session!\nDo you want to save the current one?", \
     "Vous voulez commencer une nouvelle séance!\nSouhaitez-vous sauvegarder la séance en cours?")
#define TXT_SAVE_SESSION_QUESTION \
  ZT("Do you want to save the current session?", "Souhaitez-vous sauvegarder la séance en cours?")
// The save dialog of "New session" and "Import smartphone", of "Load session" and "Save as...",
// and the open dialogs of "Load session" and "Import smartphone".
#define TXT_FILTER_TRAINING_NEW ZT("Training file (.trng)", "Fichier training (.trng)")
#define TXT_FILTER_TRAINING_SAVE_AS ZT("Training file  (.trng)", "Fichier training (.trng)")
#define TXT_FILTER_TRAINING_OPEN ZT("Training File (.trng)", "Fichier training (.trng)")
#define TXT_FILTER_SMARTPHONE ZT("Smartphone file (.trng2)", "Fichier smartphone (.trng2)")
// A save dialog's answer got its extension added (".trng", ".scrn") and a file of that name
// exists, which the dialog did not ask about (question titled TXT_CAPTION_QUESTION; the path
// replaces %s).
#define TXT_REPLACE_FILE_QUESTION \
  ZT("The file %s already exists.\nDo you want to replace it?", \
     "Le fichier %s existe déjà.\nVoulez-vous le remplacer ?")
// A copy of the working copy onto the chosen file, or of the chosen file into the program folder,
// failed: the command stops and the session stays as it was.
#define TXT_SESSION_NOT_SAVED \
  ZT("Error: The session could not be saved in this file", \
     "Erreur: impossible d'enregistrer la séance dans ce fichier")
#define TXT_SESSION_NOT_OPENED \
  ZT("Error: The chosen file could not be opened", "Erreur: impossible d'ouvrir le fichier choisi")

// Track dialog "COURSEPISTE".
#define TXT_TRACK_DIALOG_TITLE ZT("Track", "Piste")
#define TXT_TRACK_SESSION_NAME ZT("Session name :", "Nom de la séance :")
#define TXT_TRACK_CIRCUIT ZT("Circuit :", "Circuit :")
#define TXT_TRACK_CIRCUIT_NAME ZT("Circuit name :", "Nom circuit:")
#define TXT_TRACK_LENGTH ZT("Lenght :", "Développé:")
#define TXT_TRACK_METRES ZT("m", "m")
#define TXT_TRACK_RECORD ZT("Record Laptime :", "Record tour :")
#define TXT_TRACK_RECORD_BY ZT("by", "par")
#define TXT_TRACK_LOCATION ZT("Location :", "Ville :")
#define TXT_TRACK_MINIMUM_LAP ZT("Min. lap time :", "Temps de protection tour :")
#define TXT_TRACK_SECONDS ZT("s", "s")
#define TXT_TRACK_ENTER ZT("Enter", "Valider")
#define TXT_DIALOG_CANCEL ZT("Cancel", "Echap")
#define TXT_DIALOG_VALIDATE ZT("Validate", "Valider")

// Participants list dialog "LISTEPILOTES".
#define TXT_PARTICIPANTS_DIALOG_TITLE ZT("List of drivers", "Liste des pilotes")
#define TXT_PARTICIPANTS_HEADING \
  ZT("List of participants : (20 max)", "Liste des participants : (20 max)")
#define TXT_PARTICIPANTS_IN_SESSION \
  ZT(" Participants in the session :", " Participants à la séance :")
#define TXT_PARTICIPANTS_DATABASE ZT(" DataBase :", " Base de données :")
#define TXT_PARTICIPANTS_ADD ZT("<-", "<-")
#define TXT_PARTICIPANTS_REMOVE ZT("->", "->")

// Race parameters dialog "COURSEPARAMETRES".
#define TXT_PARAMETERS_DIALOG_TITLE ZT("Options of race", "Options de course")
#define TXT_PARAMETERS_HEADING ZT("Parameters of the runs :", "Paramètres des runs : ")
#define TXT_PARAMETERS_PLACING ZT("Drivers placing", "Classement des pilotes")
#define TXT_PARAMETERS_BY_LAPS_TIME ZT("according to number laps+time", "suivant nb tours+temps")
#define TXT_PARAMETERS_BY_BEST_LAP ZT("according to best lap time", "suivant meilleur tour")
#define TXT_PARAMETERS_DURATION ZT("Run duration", "Durée série")
#define TXT_PARAMETERS_TIME ZT("Time", "Temps")
#define TXT_PARAMETERS_LAPS ZT("Nber laps", "Nbre tours")
#define TXT_PARAMETERS_MINUTES ZT("min", "min")
#define TXT_PARAMETERS_LAPS_UNIT ZT("laps", "tours")
#define TXT_PARAMETERS_COUNTDOWN ZT("Countdown", "Compte à rebours")
#define TXT_PARAMETERS_SECONDS ZT("s", "s")
#define TXT_PARAMETERS_START_TYPE ZT("Type of start", "Type de départ")
#define TXT_PARAMETERS_STAGGERED ZT("staggered start", "départ décalé")
#define TXT_PARAMETERS_END_TYPE ZT("Type of end of race", "Type de fin de course")
#define TXT_PARAMETERS_IF_TIME ZT("If run duration = time", "Si durée série = temps")
#define TXT_PARAMETERS_FINISH_LAP \
  ZT("All drivers must finish their current lap", "Tous les pilotes doivent finir leur tour")
#define TXT_PARAMETERS_IF_LAPS ZT("If run duration = nber laps", "Si durée série = nb tours")
#define TXT_PARAMETERS_ALL_LAPS \
  ZT("All drivers must carry out all of the laps", \
     "Tous les pilotes doivent faire tous les tours")

// Smartphone import dialog "IMPORTSMARTPHONE" (buttons: TXT_DIALOG_VALIDATE, TXT_DIALOG_CANCEL).
#define TXT_IMPORT_DIALOG_TITLE ZT("Import Smartphone", "Import Smartphone")
#define TXT_IMPORT_HEADING \
  ZT("Import Smartphone : Allocation of the runs to the PC drivers", \
     "Import Smartphone : Attribution des runs aux pilotes du PC")
#define TXT_IMPORT_LANE ZT("Lane", "Ligne")
#define TXT_IMPORT_PHONE_DRIVERS ZT("Drivers on the Smartphone", "Pilotes du Smartphone")
#define TXT_IMPORT_PC_DRIVERS ZT("Drivers on the PC", "Pilotes du PC")
#define TXT_IMPORT_LANE_NUMBER ZT("%5d.", "%5d.")
#define TXT_IMPORT_ARROW ZT("- - - ->", "- - - ->")
#define TXT_IMPORT_FILE_NOT_FOUND \
  ZT("Error: Import smartphone file not found", \
     "Erreur: impossible d'ouvrir le fichier d'importation Smartphone")
// The chosen file does not follow the layout of a phone run: nothing is imported.
#define TXT_IMPORT_NOT_A_PHONE_FILE \
  ZT("Error: This file is not a smartphone run, the current session is kept", \
     "Erreur: ce fichier n'est pas un run Smartphone, la séance en cours est conservée")
// The name given to a lane whose phone name is empty or could not be a driver's.
#define TXT_IMPORT_UNNAMED_LANE ZT("Lane %d", "Ligne %d")
// The journal of a timed run and its recovery at start-up.
#define TXT_JOURNAL_RECOVER_QUESTION \
  ZT("The run Run%d of session %s was interrupted at %s with %d passages. Recover it?", \
     "Le run Run%d de la séance %s a été interrompu à %s avec %d passages. Le récupérer ?")
#define TXT_JOURNAL_UNREADABLE \
  ZT("Error: the journal of an interrupted run cannot be read; it is kept as %s", \
     "Erreur: le journal d'un run interrompu est illisible; il est conservé sous %s")
#define TXT_JOURNAL_NOT_WRITTEN \
  ZT("Error: the journal of the run cannot be written; a crash would lose its laps", \
     "Erreur: impossible d'écrire le journal du run; un plantage perdrait ses tours")
// The question when some lines of the journal could not be read (damaged or torn).
#define TXT_JOURNAL_RECOVER_DAMAGED_QUESTION \
  ZT("The run Run%d of session %s was interrupted at %s with %d passages (lines of its journal " \
     "that cannot be read: %d). Recover it?", \
     "Le run Run%d de la séance %s a été interrompu à %s avec %d passages (lignes illisibles de " \
     "son journal : %d). Le récupérer ?")
// A journal kept for the next start-up is in the way of a new run's and could not be set aside.
#define TXT_JOURNAL_KEPT_IN_THE_WAY \
  ZT("Error: the journal of an interrupted run could not be set aside; this run is not " \
     "journaled and a crash would lose its laps", \
     "Erreur: le journal d'un run interrompu n'a pas pu être mis de côté; ce run n'est pas " \
     "journalisé et un plantage perdrait ses tours")
// The disk held the journal's writer up until its queue was full (said once the run is over).
#define TXT_JOURNAL_FELL_BEHIND \
  ZT("Error: the disk could not keep up with the journal of the run; from %s on, a crash " \
     "would have lost its laps", \
     "Erreur: le disque n'a pas suivi le journal du run; à partir de %s, un plantage aurait " \
     "perdu ses tours")
// After a recovery that had to leave lines of the journal out.
#define TXT_JOURNAL_RECOVERED_DAMAGED \
  ZT("The run Run%d was recovered without the lines of its journal that cannot be read (%d); " \
     "the journal is kept as %s", \
     "Le run Run%d a été récupéré sans les lignes illisibles de son journal (%d); le journal " \
     "est conservé sous %s")
// The working copy holds another session than the run's: the run went into its own file.
#define TXT_JOURNAL_RECOVERED_INTO_FILE \
  ZT("The run Run%d of session %s was not timed in the session that was open: it was " \
     "recovered into the file %s, and the session that was open is shown as it was", \
     "Le run Run%d de la séance %s n'a pas été chronométré dans la séance qui était ouverte: " \
     "il a été récupéré dans le fichier %s, et la séance ouverte est affichée telle qu'elle " \
     "était")
// The working copy was gone: the run went into its session's file, which is then loaded.
#define TXT_JOURNAL_RECOVERED_AND_LOADED \
  ZT("The run Run%d of session %s was recovered into the file %s, which is now loaded", \
     "Le run Run%d de la séance %s a été récupéré dans le fichier %s, qui est maintenant " \
     "chargé")
// At a recovery, the working copy cannot be read: whose session it holds cannot be told.
#define TXT_WORKING_COPY_SET_ASIDE \
  ZT("Error: the session file Private\\Session.trng cannot be read; it is kept as %s", \
     "Erreur: le fichier de séance Private\\Session.trng est illisible; il est conservé sous %s")
// The recovery failed: the program shows what the disk holds.
#define TXT_JOURNAL_NOT_RECOVERED \
  ZT("Error: the run could not be recovered; its journal is kept for the next start", \
     "Erreur: le run n'a pas pu être récupéré; son journal est conservé pour le prochain " \
     "démarrage")

#endif
