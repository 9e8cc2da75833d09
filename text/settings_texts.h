// Texts of the sound and display settings.
#ifndef ZARVO_TEXT_SETTINGS_TEXTS_H
#define ZARVO_TEXT_SETTINGS_TEXTS_H

#endif
