// Chooses, at build time, the edition's form of every catalogue text.
// Only preprocessor lines here: resource scripts include this file too.
#ifndef ZARVO_TEXT_EDITION_H
#define ZARVO_TEXT_EDITION_H

#if defined(ZARVO_EDITION_FR)
#define ZT(english, french) french
#define ZARVO_EDITION_NAME "fr"
#else
#define ZT(english, french) english
#define ZARVO_EDITION_NAME "en"
#endif

#endif
