// Texts of the reference databases, their editors and the runs database.
#ifndef ZARVO_TEXT_DATABASE_TEXTS_H
#define ZARVO_TEXT_DATABASE_TEXTS_H

// A database file cannot be read or written (message boxes titled TXT_CAPTION_ERROR).
#define TXT_CIRCUITS_FILE_NOT_FOUND \
  ZT("Error: Circuits database file not found", \
     "Erreur: impossible d'ouvrir la base de données Circuits")
#define TXT_FREQUENCIES_FILE_NOT_FOUND \
  ZT("Error: Frequencies database file not found", \
     "Erreur: impossible d'ouvrir la base de données Fréquences")
#define TXT_FREQUENCIES_FILE_NOT_WRITTEN \
  ZT("Error: Frequencies database file not found", \
     "Erreur: impossible d'ouvrir la base de données Frequences")
#define TXT_COUNTRIES_FILE_NOT_FOUND \
  ZT("Error: Countries database file not found", \
     "Erreur: impossible d'ouvrir la base de données Pays")
#define TXT_DRIVERS_FILE_NOT_FOUND \
  ZT("Error: Drivers database file not found", \
     "Erreur: impossible d'ouvrir la base de données Pilotes")
#define TXT_CARS_FILE_NOT_FOUND \
  ZT("Error: Cars database file not found", \
     "Erreur: impossible d'ouvrir la base de données Voitures")
#define TXT_RUNS_FILE_NOT_CREATED \
  ZT("Error: Runs database file not created", \
     "Erreur: le fichier de la base de données run n'a pas été crée")

// The second entry of the car chooser: choosing it empties the car's setup.
#define TXT_CAR_DATA_RESET ZT("DATA RESET", "RAZ paramètres")

// Driver name rules, checked in this order when a driver is added.
#define TXT_DRIVER_NAME_LEADING_SPACE \
  ZT("Error: the first character entered must not be a 'space'", \
     "Erreur: le premier caractère saisi ne doit pas être un 'espace'")
#define TXT_DRIVER_NAME_FORBIDDEN_CHARACTER \
  ZT("Error: the name entered must not contain one of the 9 following special characters :\n" \
     " \\ / : * ? '' < > |", \
     "Erreur: le nom saisi ne doit pas contenir un des 9 caractères spéciaux suivant :\n" \
     " \\ / : * ? '' < > |")
#define TXT_DRIVER_NAME_NO_DRIVER_WORD \
  ZT("Error: the name entered must not contain the word '(NA)'", \
     "Erreur: le nom saisi ne doit pas contenir le mot '(NA)'")
#define TXT_DRIVER_NAME_SESSION_WORD \
  ZT("Error: the name entered must not contain the word 'Session'", \
     "Erreur: le nom saisi ne doit pas contenir le mot 'Session'")
// A name that passes the rules above but that Windows reserves for a device (CON, NUL, COM1...)
// or that holds control characters: it cannot become the name of a runs database.
#define TXT_DRIVER_NAME_NOT_A_FILE_NAME \
  ZT("Error: the name entered cannot be used as a file name", \
     "Erreur: le nom saisi ne peut pas servir de nom de fichier")

// Runs database (message boxes titled TXT_CAPTION_ERROR unless said otherwise).
#define TXT_RUN_TO_REMOVE_NOT_FOUND \
  ZT("Error: Selected run not found in the database", "Erreur: Run à supprimer non trouvé")
#define TXT_RUN_TO_READ_NOT_FOUND \
  ZT("Error: Selected run not found in the database", \
     "Erreur: Le run à charger n'a pas été trouvé")
// Shown once, when a driver's archive reaches 50 runs; the driver name replaces %s.
#define TXT_CAPTION_RUNS_DATABASE_FULL ZT("Be careful!", "Attention!")
#define TXT_RUNS_DATABASE_FULL \
  ZT("Be careful! The %s's runs database is full", \
     "Attention! La base de données 'Run' de %s est pleine")
// A run too long for a slot of the runs database is not archived; it stays in the session.
#define TXT_RUN_TOO_LONG_TO_ARCHIVE \
  ZT("Error: %s's run is too long for the runs database; it was not archived and stays in " \
     "the session file", \
     "Erreur: le run de %s est trop long pour la base de données 'Run'; il n'a pas été " \
     "archivé et reste dans le fichier de la session")
// The runs database could not be written (disk full, damaged file).
#define TXT_RUN_NOT_ARCHIVED \
  ZT("Error: %s's run could not be written to the runs database", \
     "Erreur: le run de %s n'a pas pu être écrit dans la base de données 'Run'")

// Runs database dialog "BASERESULTATS".
#define TXT_RUNS_DIALOG_CAPTION ZT("Runs Database", "Base de données Synthèses runs")
#define TXT_RUNS_DIALOG_TITLE \
  ZT("Database : Runs synthesis", "Base de données : Synthèses des runs")
#define TXT_RUNS_DIALOG_ID ZT("ID", "N°ID")
#define TXT_RUNS_DIALOG_DRIVERS ZT("Drivers", "Pilotes")
#define TXT_RUNS_DIALOG_ARCHIVING \
  ZT("Activation of the runs backup", "Activation de la sauvegarde des runs")
#define TXT_RUNS_DIALOG_LEVEL ZT("Filling level :", "Taux remplissage :")
#define TXT_RUNS_DIALOG_SAVED_FOR ZT("Runs saved for", "Runs sauvegardés de")
#define TXT_RUNS_DIALOG_REMOVE ZT("Remove the run", "Supprimer le run")
#define TXT_RUNS_DIALOG_OK ZT("OK", "OK")
// The filling level, then the same at 99 % and above.
#define TXT_RUNS_DIALOG_GAUGE ZT("%d %c", "%d %c")
#define TXT_RUNS_DIALOG_GAUGE_FULL ZT("%d %c saturation", "%d %c saturation")
// Asked before a run is removed (title TXT_CAPTION_REMOVE_RUN, Yes/No).
#define TXT_CAPTION_REMOVE_RUN ZT("Zarvo", "Attention")
#define TXT_REMOVE_RUN_QUESTION \
  ZT("Are you sure you want to remove the selected run?\nThe data will be definitively lost.", \
     "Attention!\nSi vous validez, le run sera effacé définitivement!")
// The selected driver's runs file cannot be opened (titled TXT_CAPTION_ERROR).
#define TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND \
  ZT("Error: Selected driver's run file not found", \
     "Erreur: le fichier Run du pilote sélectionné n'a pas été trouvé")

#endif
