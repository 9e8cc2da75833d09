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

// Interface dialog "INTERFACE".
#define TXT_INTERFACE_DIALOG_TITLE ZT("Interface", "Interface")
#define TXT_INTERFACE_HEADING ZT("Decoder Zarvo", "Décodeur Zarvo")
#define TXT_INTERFACE_MESSAGES ZT("Message", "Messages")
#define TXT_INTERFACE_DEVICE ZT("Decoder:", "Décodeur:")
#define TXT_INTERFACE_VEXA ZT("Zarvo Vexa", "Zarvo Vexa")
#define TXT_INTERFACE_ORIX ZT("Zarvo Orix", "Zarvo Orix")
#define TXT_INTERFACE_ORIX_BLUETOOTH ZT("Zarvo Orix Bluetooth", "Zarvo Orix Bluetooth")
#define TXT_INTERFACE_PORT ZT("COM Port", "Port COM")
#define TXT_INTERFACE_CONNECT ZT("Connect", "Ouvrir")
#define TXT_INTERFACE_OK ZT("Ok", "Ok")
#define TXT_INTERFACE_FILE_MISSING \
  ZT("Error: Interface file not found", "Erreur: impossible d'ouvrir le fichier interface Port COM")
// What the status box shows when the dialog opens.
#define TXT_INTERFACE_READY_VEXA \
  ZT(" Interface Vexa ready to operate.", " Interface Vexa prête à fonctionner.")
#define TXT_INTERFACE_READY_ORIX \
  ZT(" Interface Orix ready to operate.", " Interface Orix prête à fonctionner.")
#define TXT_INTERFACE_READY_ORIX_BLUETOOTH \
  ZT(" Interface Orix Bluetooth ready to operate.", " Interface Orix Bluetooth prête à fonctionner.")
#define TXT_INTERFACE_NOT_OPEN ZT(" COM Port is not open !", " Port COM non ouvert !")
// The pieces of the status after "Connect", in this order: attempt, then either the failure or
// the opening and the device found (the Orix lines around the decoder id).
#define TXT_INTERFACE_ATTEMPT \
  ZT(" COM Port opening attempt :\r\n", " Tentative d'ouverture du port COM:\r\n")
#define TXT_INTERFACE_OPEN_FAILED \
  ZT(" Could not open the COM Port.", " Echec à l'ouverture du port COM !")
#define TXT_INTERFACE_OPENED ZT(" COM Port opened correctly, OK !\r\n", " Ouverture du port COM OK !\r\n")
#define TXT_INTERFACE_ORIX_ID ZT(" Decoder Orix id.#", " Décodeur Orix n°")
#define TXT_INTERFACE_ORIX_BLUETOOTH_ID ZT(" Decoder Orix Bluetooth id.#", " Décodeur Orix Bluetooth n°")
#define TXT_INTERFACE_ORIX_READY \
  ZT(" connected !\r\n Software ready to operate !", " connecté.\r\n Logiciel prêt à fonctionner.")
// The port opened, but the device could not be talked to: the request could not be written, or
// a read failed during the wait (the adapter was pulled). Nothing was identified.
#define TXT_INTERFACE_WRITE_FAILED \
  ZT(" Could not write to the COM Port: the request was not sent.\r\n No device identified.", \
     " Echec à l'écriture sur le port COM : la demande n'a pas été envoyée.\r\n Aucun " \
     "décodeur identifié.")
#define TXT_INTERFACE_READ_FAILED \
  ZT(" Could not read from the COM Port: the device was lost.\r\n No device identified.", \
     " Echec à la lecture du port COM : le décodeur a été perdu.\r\n Aucun décodeur " \
     "identifié.")
// "Connect" with no line of the port list selected: the port in use stays open, nothing stored.
#define TXT_INTERFACE_NO_PORT_CHOSEN \
  ZT(" No COM Port chosen: choose one in the list.", \
     " Aucun port COM choisi : choisissez-en un dans la liste.")
#define TXT_INTERFACE_VEXA_FOUND                                               \
  ZT(" Interface Vexa ready to operate !\r\n Software ready to operate !", \
     " Interface Vexa prête à fonctionner.\r\n Logiciel prêt à fonctionner.")

// Driver details dialog "PILOTEDETAILS".
#define TXT_DETAILS_DIALOG_TITLE ZT("Driver's details", "Détails pilote")
#define TXT_DETAILS_DRIVER ZT("Driver :", "Pilote:")
#define TXT_DETAILS_TRANSPONDER_GROUP ZT("Personal transponder", "Transpondeur personnel")
#define TXT_DETAILS_TRANSPONDER ZT("Transpd.", "N°Puce")
#define TXT_DETAILS_SCAN ZT("Scan", "Scan")
#define TXT_DETAILS_SCAN_ON ZT("On", "On")
#define TXT_DETAILS_SCAN_OFF ZT("Off", "Off")
#define TXT_DETAILS_FREQUENCIES ZT("Radio frequencies", "Fréquences radio")
#define TXT_DETAILS_FREQ1 ZT("Freq1", "Freq1")
#define TXT_DETAILS_FREQ2 ZT("Freq2", "Freq2")
#define TXT_DETAILS_FREQ3 ZT("Freq3", "Freq3")
#define TXT_DETAILS_FREQ4 ZT("Freq4", "Freq4")
#define TXT_DETAILS_FREQ5 ZT("Freq5", "Freq5")
#define TXT_DETAILS_OK ZT("OK", "OK")
#define TXT_DETAILS_FREQUENCIES_MISSING \
  ZT("Error: Frequencies database file not found", \
     "Erreur: impossible d'ouvrir la base de données Frequences")
#define TXT_DETAILS_INTERFACE_FILE_MISSING \
  ZT("Error: Interface file not found", "Erreur: impossible d'ouvrir le fichier Interface Port COM")
// The participants list is missing when the dialog opens, and when "OK" writes it.
#define TXT_DETAILS_NO_LIST_OPENING \
  ZT("Error: Title of participants list not found", "Erreur: liste de participants non trouvée")
#define TXT_DETAILS_NO_LIST_SAVING \
  ZT("Error: Title of participants list not found", "Erreur: liste des participants non trouvée")

#endif
