// Creates the page of a kind; pages still to come are stood in for by the placeholder.
#pragma once

#include <functional>

#include "pages/page.h"

using PageCreator =
    std::function<CPage*(PageKind kind, AppServices& app, QWidget* parent, int outputChannel)>;

CPage* CreatePage(PageKind kind, AppServices& app, QWidget* parent, int outputChannel);
// Tests put their own pages in the view (nullptr restores the real ones).
void SetPageCreatorOverride(PageCreator creator);
