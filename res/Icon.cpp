#include "Resources.h"

#include "Icon128.xpm"

const IconResource kIcon128 = {IDR_MAINFRAME, kIcon128Large, kIcon128Small};
