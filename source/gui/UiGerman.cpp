#include "gui/UiGerman.h"

bool uiGerman = true;
