// app/ on top includes what it likes below it.
#include "race/passage.h"
#include "settings/sound_dialog.h"
