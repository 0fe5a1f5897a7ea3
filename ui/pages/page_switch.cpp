// Page switching.
#include "pages/page_switch.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QWheelEvent>

#include "controls/eq_panel.h"
#include "controls/xbmp_slider.h"
#include "services/app_services.h"

namespace {
int effectEqSelector = 0;
}  // namespace

void ShowPageLater(AppServices& app, PageKind kind) {
  app.ShowPageLater(static_cast<int>(kind));
}

int EffectEqSelector() {
  return effectEqSelector;
}

void ShowEffectEqEditor(AppServices& app, int selector) {
  effectEqSelector = selector >= 0 && selector <= 3 ? selector : 0;
  ShowPageLater(app, PageKind::efx);
}

void ShowMusicPageAgain(AppServices& app) {
  ShowPageLater(app, PageKind::music);
}

bool ForwardWheelToFocus(QWidget* page, QWheelEvent* event) {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || !page->isAncestorOf(focus) || !focus->isEnabled()) return false;
  const int delta = event->angleDelta().y();
  if (delta == 0) return false;
  if (auto* slider = qobject_cast<CXBmpSlider*>(focus)) {
    slider->Step(delta > 0 ? 1 : -1);
    event->accept();
    return true;
  }
  if (auto* graph = qobject_cast<CEqPanel*>(focus)) {
    // An event the graph ignores comes back up to the page; it must not be sent round again.
    static bool forwarding = false;
    if (forwarding) return false;
    const QScopedValueRollback<bool> guard(forwarding, true);
    QWheelEvent copy(graph->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                     event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                     event->phase(), event->inverted());
    QApplication::sendEvent(graph, &copy);
    event->accept();
    return true;
  }
  return false;
}
