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
// An editor's database file is there but could not be read (locked by another program, no
// permission, too large): the editor opens on an empty list and never writes over the file. The
// file name replaces %s.
#define TXT_DATABASE_FILE_UNREADABLE \
  ZT("Error: the file %s is there but could not be read.\nIt will be left as it is: changes " \
     "made in this editor will not be saved.", \
     "Erreur: le fichier %s existe mais n'a pas pu être lu.\nIl sera laissé tel quel : les " \
     "modifications faites dans cet éditeur ne seront pas enregistrées.")
#define TXT_DATABASE_FILE_KEPT \
  ZT("Error: the file %s was not written, since it could not be read when the editor opened.", \
     "Erreur: le fichier %s n'a pas été écrit, car il n'a pas pu être lu à l'ouverture de " \
     "l'éditeur.")
// A picture whose path cannot be stored as it is (letters outside Windows-1252, no short name)
// is copied into the program folder; this copy could not be made.
#define TXT_PICTURE_NOT_COPIED \
  ZT("Error: the picture could not be copied into the program folder", \
     "Erreur: l'image n'a pas pu être copiée dans le dossier du programme")

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

// The run synthesis saved a setup sheet for a run the user removed from the driver's runs
// database (question titled TXT_CAPTION_QUESTION; the driver name replaces %s).
#define TXT_REMOVED_RUN_BACK_QUESTION \
  ZT("You removed this run from %s's runs database.\nStore it there again with the new setup " \
     "sheet?\n(No: the sheet is kept in the session only.)", \
     "Vous avez supprimé ce run de la base de données 'Run' de %s.\nL'y enregistrer de " \
     "nouveau avec la nouvelle fiche de réglages ?\n(Non : la fiche est gardée dans la séance " \
     "seulement.)")

// Drivers editor, "Ok": removed drivers whose runs database still holds runs (question titled
// TXT_CAPTION_QUESTION). The list of TXT_RUNS_DATABASE_LINE lines replaces %s.
#define TXT_DELETE_RUNS_DATABASES_QUESTION \
  ZT("Be careful! The runs databases of the removed drivers below hold runs:\n%s" \
     "Do you want to delete them? (No keeps their files)", \
     "Attention! Les bases de données 'Run' des pilotes supprimés ci-dessous contiennent des " \
     "runs :\n%sVoulez-vous les effacer ? (Non conserve leurs fichiers)")
// One line of that list: the driver name, then the number of runs.
#define TXT_RUNS_DATABASE_LINE ZT("%s: %d run(s)\n", "%s : %d run(s)\n")
// More drivers than the question lists: how many more.
#define TXT_RUNS_DATABASE_MORE ZT("... and %d more\n", "... et %d autres\n")

// The database editors' dialogs: captions, titles and labels.
#define TXT_EDITOR_NEW ZT(" New", " Nouveau")
#define TXT_EDITOR_NEW_FEMININE ZT(" New", " Nouvelle")
#define TXT_EDITOR_ADD ZT("Add", "Ajouter")
#define TXT_EDITOR_REMOVE ZT("Remove", "Supprimer")
#define TXT_EDITOR_NUMBER ZT("ID", "N°ID")
#define TXT_EDITOR_OK ZT("Ok", "Ok")
#define TXT_EDITOR_CANCEL ZT("Cancel", "Echap")
#define TXT_EDITOR_PICTURE_FILTER ZT("Image (.bmp)", "Images (.bmp)")
#define TXT_CIRCUITS_CAPTION ZT("Circuits Database", "Base de données Circuits")
#define TXT_CIRCUITS_TITLE \
  ZT("Database : List of circuits", "Base de données : Liste des circuits")
#define TXT_CIRCUITS_LIST_LABEL ZT("Circuits  (20 max)", "Circuits  (20 max)")
#define TXT_FREQUENCIES_CAPTION \
  ZT("RadioFrequencies Database", "Base de données Fréquences radio")
#define TXT_FREQUENCIES_TITLE \
  ZT("Database : Frequencies available", "Base de données : Fréquences radio disponibles")
#define TXT_FREQUENCIES_LIST_LABEL ZT("Frequencies", "Fréquences")
#define TXT_DRIVERS_CAPTION ZT("Drivers Database", "Base de données Pilotes")
#define TXT_DRIVERS_TITLE ZT("Database : List of drivers", "Base de données : Liste des pilotes")
#define TXT_DRIVERS_LIST_LABEL ZT("Drivers  (300 max)", "Pilotes  (300 max)")
#define TXT_CARS_CAPTION ZT("Cars Database", "Base de données Voitures")
#define TXT_CARS_TITLE ZT("Database : List of cars", "Base de données : Liste des voitures")
#define TXT_CARS_LIST_LABEL ZT("Cars  (300 max)", "Voitures  (300 max)")
// Circuit details.
#define TXT_CIRCUIT_LENGTH ZT("Lenght :", "Développé :")
#define TXT_CIRCUIT_METRES ZT("m", "m")
#define TXT_CIRCUIT_RECORD ZT("Record Laptime :", "Record du tour :")
#define TXT_CIRCUIT_RECORD_BY ZT("    by", "s   par")
#define TXT_CIRCUIT_CLEAR ZT("Clear", "Effacer")
#define TXT_CIRCUIT_MINIMUM_LAP ZT("Min. lap time :", "Temps de protection tour :")
#define TXT_CIRCUIT_SECONDS ZT("s", "s")
#define TXT_CIRCUIT_LOCATION ZT("Location :", "Ville :")
// Driver details.
#define TXT_DRIVER_ADDRESS ZT("Address :", "Adresse :")
#define TXT_DRIVER_ADDRESS2 ZT("(Address2)", "(suite)")
#define TXT_DRIVER_ZIP_CODE ZT("Zip code :", "Code Postal :")
#define TXT_DRIVER_LOCATION ZT("Location :", "Ville :")
#define TXT_DRIVER_COUNTRY ZT("Country :", "Pays :")
#define TXT_DRIVER_PHONE ZT("Phone :", "Telephone :")
#define TXT_DRIVER_EMAIL ZT("Email :", "Email :")
#define TXT_DRIVER_LICENCE ZT("License Nr :", "N°licence :")
#define TXT_DRIVER_BIRTHDAY ZT("Birthday :", "Date de naissance :")
#define TXT_DRIVER_TRANSPONDER ZT("Transpond. :", "Transpond. :")
// Car details: groups, columns and the labels of the setup fields.
#define TXT_CAR_GROUP_ENGINE ZT("Engine", "Motorisation")
#define TXT_CAR_GROUP_DIFFERENTIALS ZT("Differentials", "Différentiels")
#define TXT_CAR_GROUP_SHOCKS ZT("Shocks", "Amortisseurs")
#define TXT_CAR_GROUP_CHASSIS ZT("Chassis", "Chassis")
#define TXT_CAR_GROUP_TIRES_BODY ZT("Tires / Body", "Pneus / Carrosserie")
#define TXT_CAR_GROUP_RADIO ZT("Radio", "Radio")
#define TXT_CAR_COLUMN_FRONT ZT("Front", "Avant")
#define TXT_CAR_COLUMN_REAR ZT("Rear", "Arrière")
#define TXT_CAR_CAR ZT("Car :", "Voiture :")
#define TXT_CAR_ENGINE ZT("Engine :", "Moteur :")
#define TXT_CAR_PLUG ZT("Plug :", "Bougie :")
#define TXT_CAR_PIPE ZT("Pipe :", "Coude :")
#define TXT_CAR_MUFFLER ZT("Muffl. :", "Réso :")
#define TXT_CAR_RESTRICTOR ZT("Restr.:", "Buse :")
#define TXT_CAR_CLUTCH ZT("Clutch gear :", "Embrayage :")
#define TXT_CAR_FUEL ZT("Fuel :", "Carburant :")
#define TXT_CAR_SPEED_CONTROLLER ZT("Speed Ctrl :", "Controleur :")
#define TXT_CAR_BATTERY ZT("Battery:", "Accus :")
#define TXT_CAR_RATIO ZT("Ratio :", "Rapport :")
#define TXT_CAR_DIFF_FRONT ZT("Front :", "Avant :")
#define TXT_CAR_DIFF_CENTRE ZT("Center :", "Central :")
#define TXT_CAR_DIFF_REAR ZT("Rear :", "Arrière :")
#define TXT_CAR_SHOCKS ZT("Shocks:", "Amortisseurs:")
#define TXT_CAR_SPRINGS ZT("Springs :", "Ressorts :")
#define TXT_CAR_FLUID ZT("Fluid :", "Huile :")
#define TXT_CAR_PISTON ZT("Piston :", "Piston :")
#define TXT_CAR_REBOUND ZT("Rebound :", "Cales tension :")
#define TXT_CAR_WHEELBASE ZT("Wheelbase :", "Empattement :")
#define TXT_CAR_RIDE_HEIGHT ZT("Ride height :", "Garde au sol :")
#define TXT_CAR_ANTI_ROLL ZT("Anti Roll Bars :", "Barre Antiroulis :")
#define TXT_CAR_SHOCKS_FIXATION ZT("Shocks Fix. :", "Ancrage Amort. :")
#define TXT_CAR_CAMBER ZT("Camber :", "Carrossage :")
#define TXT_CAR_TOE ZT("Toe angle :", "Ouvert./pincemt :")
#define TXT_CAR_BODY ZT("Body :", "Carrosserie :")
#define TXT_CAR_WING ZT("Wing :", "Aileron :")
#define TXT_CAR_WING_POSITION ZT("Wing Position :", "Position Aileron :")
#define TXT_CAR_WING_INCLINE ZT("Wing Incline :", "Inclinaison Aileron :")
#define TXT_CAR_TIRES ZT("Tires :", "Pneus :")
#define TXT_CAR_TIRE_INSERTS ZT("Inserts tires :", "Inserts Pneus :")
#define TXT_CAR_WHEELS ZT("Wheels :", "Jantes :")
#define TXT_CAR_RADIO ZT("Radio :", "Radio :")
#define TXT_CAR_STEERING_SERVO ZT("Steering Servo :", "Servo Direction :")
#define TXT_CAR_THROTTLE_SERVO ZT("Throttle Servo :", "Servo Gaz :")
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
