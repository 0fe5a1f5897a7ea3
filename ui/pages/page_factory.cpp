// The page factory: each finished page gets its case here.
#include "pages/page_factory.h"

#include "pages/placeholder_page.h"

CPage* CreatePage(PageKind kind, QWidget* parent, int outputChannel) {
  CPage* page = new CPlaceholderPage(kind, parent);
  if (kind == PageKind::output) page->ShowChannel(outputChannel);
  return page;
}
