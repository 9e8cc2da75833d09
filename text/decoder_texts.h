// Texts of the decoder link: identification, loss and recovery, interface dialog.
#ifndef ZARVO_TEXT_DECODER_TEXTS_H
#define ZARVO_TEXT_DECODER_TEXTS_H

#endif
