// Texts of the decoder link: identification, loss and recovery, interface dialog.
#ifndef ZARVO_TEXT_DECODER_TEXTS_H
#define ZARVO_TEXT_DECODER_TEXTS_H

// The interface settings file could not be read or written (identification, loss, recovery).
#define TXT_DECODER_SETTINGS_FILE_MISSING \
  ZT("Error: COM port file not found", "Erreur: impossible d'ouvrir le fichier Interface Port COM")
#define TXT_DECODER_PORT_NOT_OPENED ZT("Could not open the COM port.", "Echec à l'ouverture du port COM.")

// Outcome of the identification at start-up, with the decoder id where there is one.
#define TXT_DECODER_ORIX_CONNECTED                                      \
  ZT("Decoder Orix id.#%06d connected.\r\nSoftware ready to operate.", \
     "Décodeur Orix n°%06d connecté.\r\nLogiciel prêt à fonctionner.")
#define TXT_DECODER_ORIX_BLUETOOTH_CONNECTED                                      \
  ZT("Decoder Orix Bluetooth id.#%06d connected.\r\nSoftware ready to operate.", \
     "Décodeur Orix Bluetooth n°%06d connecté.\r\nLogiciel prêt à fonctionner.")
#define TXT_DECODER_VEXA_CONNECTED                                  \
  ZT("Interface Zarvo Vexa connected.\r\nSoftware ready to operate.", \
     "Interface Zarvo Vexa connectée.\r\nLogiciel prêt à fonctionner.")

// Loss and recovery of the wired decoder; %s is the race clock (three-form, tenths).
#define TXT_DECODER_LOSS \
  ZT("Failure of the decoder Orix connection at %s.\n", "Perte connexion du décodeur Orix à %s.\n")
#define TXT_DECODER_RESTORED                         \
  ZT("Connection of the decoder Orix restored at %s.", \
     "Récupération connexion décodeur Orix réussie à %s.")
#define TXT_DECODER_NOT_RESTORED ZT("Error : Connection not restored.", "Echec à la récupération.")

#endif
