// Creates the page of a kind; pages still to come are stood in for by the placeholder.
#pragma once

#include "pages/page.h"

CPage* CreatePage(PageKind kind, QWidget* parent, int outputChannel);
