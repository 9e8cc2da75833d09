// race/ reaching up to settings/.
#include "race/passage.h"
#include "settings/sound_dialog.h"
#include "passage.h"
