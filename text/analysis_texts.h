// Texts of the run analysis windows and the printout.
#ifndef ZARVO_TEXT_ANALYSIS_TEXTS_H
#define ZARVO_TEXT_ANALYSIS_TEXTS_H

#endif
