// Texts of the application shell: menus, race panel, session commands and dialogs.
#ifndef ZARVO_TEXT_APP_TEXTS_H
#define ZARVO_TEXT_APP_TEXTS_H

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
