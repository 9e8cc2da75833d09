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

#endif
