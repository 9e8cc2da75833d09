// A race header of the fixture: text/ is below race/.
#pragma once
#include "text/catalogue.h"
