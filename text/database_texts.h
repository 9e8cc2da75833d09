// Texts of the reference databases, their editors and the runs database.
#ifndef ZARVO_TEXT_DATABASE_TEXTS_H
#define ZARVO_TEXT_DATABASE_TEXTS_H

#endif
