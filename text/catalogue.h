// Every user-visible text of both editions, by name: TXT_... expands to the edition's text.
// The texts are grouped by subsystem in the *_texts.h files included below. Each entry is
//   #define TXT_NAME ZT("English form", "forme française")
// with identical printf placeholders in both forms (a unit test checks it). Only preprocessor
// lines are allowed, so that resource scripts can include the catalogue as well.
#ifndef ZARVO_TEXT_CATALOGUE_H
#define ZARVO_TEXT_CATALOGUE_H

#include "text/edition.h"

#include "text/common_texts.h"
#include "text/race_texts.h"
#include "text/decoder_texts.h"
#include "text/app_texts.h"
#include "text/database_texts.h"
#include "text/settings_texts.h"
#include "text/display_texts.h"
#include "text/analysis_texts.h"
#include "text/export_texts.h"
#include "text/web_texts.h"
#include "text/speech_texts.h"

#endif
