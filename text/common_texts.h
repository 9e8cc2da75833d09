// Captions shared by every message box of the program.
#ifndef ZARVO_TEXT_COMMON_TEXTS_H
#define ZARVO_TEXT_COMMON_TEXTS_H

#define TXT_CAPTION_ERROR ZT("Error", "Erreur")
#define TXT_CAPTION_QUESTION ZT("Be careful", "Attention")
#define TXT_CAPTION_REFUSAL ZT("Zarvo", "Zarvo")
#define TXT_CAPTION_MESSAGE ZT("Message", "Message")

#endif
