// Texts of the sound and display settings.
#ifndef ZARVO_TEXT_SETTINGS_TEXTS_H
#define ZARVO_TEXT_SETTINGS_TEXTS_H

// "RéglagesSons.rg" cannot be read at start-up, or again after the sound dialog.
#define TXT_SOUND_SETTINGS_NOT_FOUND \
  ZT("Error: Sound settings file not found", "Erreur: impossible d'ouvrir le fichier Réglages sons")
#define TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG \
  ZT("Error: Sound settings file not found", "Erreur: impossible d'ouvrir le fichier Réglage Sons")
// "Private/RéglagesAffichage.rgsc" cannot be read or written (main window, display options), or
// a display file cannot be written ("Save" of the display options).
#define TXT_DISPLAY_SETTINGS_NOT_FOUND \
  ZT("Error: Display settings file not found", \
     "Erreur: impossible d'ouvrir le fichier Réglage Affichage")
// A display file chosen with "Load" of the display options cannot be read.
#define TXT_DISPLAY_FILE_NOT_FOUND \
  ZT("Error: Display settings file not found", "Erreur: impossible d'ouvrir le fichier Affichage")
// A display settings file is there but a value is missing or unreadable; it was not used.
#define TXT_DISPLAY_SETTINGS_DAMAGED \
  ZT("Error: Display settings file damaged, it was not used", \
     "Erreur: fichier Réglage Affichage endommagé, il n'a pas été utilisé")


// Sound options dialog "SONS".
#define TXT_SOUND_DIALOG_TITLE ZT("Sound options", "Options du son")
#define TXT_SOUND_ENGLISH ZT("English", "English")
#define TXT_SOUND_FRENCH ZT("French", "Francais")
#define TXT_SOUND_START_GROUP ZT("Start of the run", "Début run")
#define TXT_SOUND_COUNTDOWN ZT("Vocal announcement of the countdown", "Annonce vocale du décompte")
#define TXT_SOUND_START ZT("Sound signal for the run start", "Signal sonore au départ")
#define TXT_SOUND_RUN_GROUP ZT("During the run", "Run")
#define TXT_SOUND_PASSAGE \
  ZT("Sound signal for each lap completion", "Signal sonore lors des passages voitures")
#define TXT_SOUND_BEST_LAP ZT("Vocal announcement of the best lap", "Annonce vocale meilleur tour")
#define TXT_SOUND_CLOCK ZT("Vocal announcement of the race clock", "Annonce vocale Horloge")
#define TXT_SOUND_END_GROUP ZT("End of run", "Fin de run")
#define TXT_SOUND_END_OF_RACE ZT("Sound signal at the end of run", "Signal sonore à la fin des runs")
#define TXT_SOUND_DRIVER_FINISHED \
  ZT("Vocal announcement for each car end of run", \
     "Annonce vocale de fin de run pour chaque voiture")
#define TXT_SETTINGS_OK ZT("Ok", "Ok")

// Display options dialog "AFFICHAGE".
#define TXT_DISPLAY_DIALOG_CAPTION ZT("Display options", "Options d'affichage")
#define TXT_DISPLAY_TITLE ZT("Colors and display font", "Couleurs et polices d'affichage")
#define TXT_DISPLAY_THEME ZT("Theme", "Thème")
#define TXT_DISPLAY_WINDOW ZT("Software background", "Fond logiciel")
#define TXT_DISPLAY_TREE ZT("TreeView background", "Fond arboresence")
#define TXT_DISPLAY_TABLE ZT("Table background", "Arrière plan tableau")
#define TXT_DISPLAY_EVENTS ZT("Events", "Evénements")
#define TXT_DISPLAY_RUN_CAPTION ZT("Name of runs", "Titre série")
#define TXT_DISPLAY_CONFLICT ZT("Radio conflict", "Conflit radio")
#define TXT_DISPLAY_PASSAGE ZT("Cars passage", "Passage voiture")
#define TXT_DISPLAY_RUN_BEST ZT("Best lap time of the run", "Meilleur tour run")
#define TXT_DISPLAY_DRIVER_BEST ZT("Best lap time of the driver", "Meilleur tour pilote")
#define TXT_DISPLAY_TABLE_GROUP ZT("Table of Results", "Tableau résultats")
#define TXT_DISPLAY_HEADINGS ZT("Titles", "Libellé tableau")
#define TXT_DISPLAY_RESULTS ZT("Results", "Résultats tableau")
#define TXT_DISPLAY_RELIEF ZT("relief style", "style relief")
#define TXT_DISPLAY_GRADIENT ZT("gradient style", "style dégradé")
#define TXT_DISPLAY_COLUMN ZT("Column", "Colonne")
#define TXT_DISPLAY_WIDTH ZT("Width", "Largeur")
#define TXT_DISPLAY_WIDER ZT("+", "+")
#define TXT_DISPLAY_NARROWER ZT("-", "-")
#define TXT_DISPLAY_FONT ZT("Font", "Police")
#define TXT_DISPLAY_LOAD ZT("Load", "Charger")
#define TXT_DISPLAY_SAVE ZT("Save", "Sauver")
// The entries of the column list, in column order.
#define TXT_DISPLAY_COLUMN_LANE ZT("Lane", "Ligne")
#define TXT_DISPLAY_COLUMN_DRIVER ZT("Driver", "Nom pilote")
#define TXT_DISPLAY_COLUMN_LAPS ZT("Laps", "Tours")
#define TXT_DISPLAY_COLUMN_TOTAL_TIME ZT("Total time", "Temps total")
#define TXT_DISPLAY_COLUMN_LAP_TIME ZT("Lap time", "Dernier tour")
#define TXT_DISPLAY_COLUMN_BEST_LAP ZT("Best lap", "Meilleur tour")
#define TXT_DISPLAY_COLUMN_WORST_LAP ZT("Worst lap", "- bon tour")
#define TXT_DISPLAY_COLUMN_AVERAGE_LAP ZT("Average lap", "Tour moyen")
#define TXT_DISPLAY_COLUMN_TRANSPONDER ZT("Transp.", "Transp.")
// The filter of the file dialogs of "Load" and "Save".
#define TXT_DISPLAY_FILE_FILTER ZT("Display file (.scrn)", "Fichier affichage (.scrn)")
// The text of the four font samples.
#define TXT_DISPLAY_SAMPLE_TEXT ZT("AaBbYyZz", "AaBbYyZz")

#endif
