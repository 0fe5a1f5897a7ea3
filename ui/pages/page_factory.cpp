// The page factory: each finished page gets its case here.
#include "pages/page_factory.h"

#include "pages/comp_page.h"
#include "pages/delay_page.h"
#include "pages/efx_page.h"
#include "pages/music_page.h"
#include "pages/output_page.h"
#include "pages/page_switch.h"
#include "pages/placeholder_page.h"
#include "pages/ssvc_page.h"

namespace {
PageCreator& Override() {
  static PageCreator creator;
  return creator;
}
}  // namespace

void SetPageCreatorOverride(PageCreator creator) {
  Override() = std::move(creator);
}

CPage* CreatePage(PageKind kind, AppServices& app, QWidget* parent, int outputChannel) {
  if (Override()) return Override()(kind, app, parent, outputChannel);
  if (kind == PageKind::music) return new CDialogMusic(app, parent);
  if (kind == PageKind::efx) return new CDialogEfx(EffectEqSelector(), app, parent);
  if (kind == PageKind::comp) return new CCompDlg(app, parent);
  if (kind == PageKind::ssvc) return new CSSVCDlg(app, parent);
  if (kind == PageKind::delay) return new CDelayDlg(app, parent);
  if (kind == PageKind::output) return new CDialogOutput(app, parent, outputChannel);
  return new CPlaceholderPage(kind, app, parent);
}
