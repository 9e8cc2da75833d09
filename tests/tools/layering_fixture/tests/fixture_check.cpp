// Tests include any folder.
#include "app/main_window.cpp"
#include "settings/sound_dialog.h"
