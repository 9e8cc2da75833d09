// Texts of the application shell: menus, race panel, session commands and dialogs.
#ifndef ZARVO_TEXT_APP_TEXTS_H
#define ZARVO_TEXT_APP_TEXTS_H

#endif
