// The blue look of the ribbon (application look 215).
#pragma once

#include <QString>

QString RibbonStyleSheet();
