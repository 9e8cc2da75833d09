// Texts of the live results table.
#ifndef ZARVO_TEXT_DISPLAY_TEXTS_H
#define ZARVO_TEXT_DISPLAY_TEXTS_H

#endif
