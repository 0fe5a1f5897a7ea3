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

CPage* CreatePage(PageKind kind, QWidget* parent, int outputChannel) {
  if (Override()) return Override()(kind, parent, outputChannel);
  if (kind == PageKind::music) return new CDialogMusic(parent);
  if (kind == PageKind::efx) return new CDialogEfx(EffectEqSelector(), parent);
  if (kind == PageKind::comp) return new CCompDlg(parent);
  if (kind == PageKind::ssvc) return new CSSVCDlg(parent);
  if (kind == PageKind::delay) return new CDelayDlg(parent);
  if (kind == PageKind::output) return new CDialogOutput(parent, outputChannel);
  return new CPlaceholderPage(kind, parent);
}
