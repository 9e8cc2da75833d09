// settings/ over race/.
#pragma once
#include "race/passage.h"
#include "text/catalogue.h"
