// The pages' pictures: the microphone and music page in each view, with a band selected and without, and
// the effect EQ editor, each at 1920x1080 and at the main window's minimum size.
#include "gallery_pages.h"

#include <QWidget>

#include "app/kestrel_app.h"
#include "gallery_shots.h"
#include "pages/efx_page.h"
#include "pages/eq_editing.h"
#include "pages/music_page.h"
#include "pages/page_switch.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"

namespace {

struct Size {
  QSize size;
  const char* name;
};

QString Save(QWidget* window, const QDir& out, const QString& name, const QString& tag) {
  WaitUntil([] { return false; }, 80);
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return window->grab().save(path) ? path : QString();
}

template <typename Page>
Page* Shown(CKestrelv13App& app) {
  WaitUntil([&app] { return qobject_cast<Page*>(app.view()->currentPage()) != nullptr; }, 2000);
  return qobject_cast<Page*>(app.view()->currentPage());
}

}  // namespace

QStringList RenderPageGallery(CKestrelv13App& app, const QDir& out, const QString& tag) {
  QStringList written;
  CMainFrame* frame = app.frame();
  const Size sizes[] = {{QSize(1920, 1080), "1920"}, {frame->minimumSize(), "min"}};
  for (const Size& size : sizes) {
    frame->resize(size.size);
    app.view()->ShowPage(PageKind::music);
    for (int view = 0; view < 3; ++view) {
      auto* music = Shown<CDialogMusic>(app);
      if (music == nullptr) return written;
      music->SetView(view);
      written << Save(frame, out, QStringLiteral("page_313_view%1_%2").arg(view).arg(size.name), tag);
      if (view == 0) {
        music->SelectSection(3);
        written << Save(frame, out, QStringLiteral("page_313_band_%1").arg(size.name), tag);
      }
    }
    ShowEffectEqEditor(0);
    auto* efx = Shown<CDialogEfx>(app);
    if (efx == nullptr) return written;
    written << Save(frame, out, QStringLiteral("page_421_%1").arg(size.name), tag);
    efx->SelectSection(2);
    written << Save(frame, out, QStringLiteral("page_421_band_%1").arg(size.name), tag);
    ShowMusicPageAgain();
    Shown<CDialogMusic>(app);
  }
  written.removeAll(QString());
  return written;
}
