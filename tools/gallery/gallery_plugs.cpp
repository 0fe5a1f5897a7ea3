// The smart-plug window on the emulator's demo network (Lamp, Dimmer, IR Plug) and its plug dialogs.
#include "gallery_plugs.h"

#include <QPainter>
#include <QPixmap>

#include "app/kestrel_app.h"
#include "gallery_shots.h"
#include "home/home_theater_dlg.h"
#include "home/knob_dlg.h"
#include "home/plug_edit_dlg.h"
#include "home/plug_pictures.h"
#include "home/switch_dlg.h"
#include "home/wait_dlg.h"
#include "i18n/language_table.h"
#include "services/smart_home_link.h"
#include "shell/main_frame.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace sh = vireo::smarthome;

QString Take(QWidget* widget, const QDir& out, const QString& name, const QString& tag) {
  widget->adjustSize();
  widget->show();
  WaitUntil([] { return false; }, 120);  // let layouts and paints settle
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return widget->grab().save(path) ? path : QString();
}

// The plug icons and power pictures at one and two device pixels per point, side by side.
QString PictureSheet(const QDir& out, const QString& tag) {
  constexpr int kWidth = 360;
  constexpr int kHeight = 200;
  QPixmap sheet(kWidth, kHeight);
  sheet.fill(QColor(240, 240, 240));
  QPainter p(&sheet);
  for (int type = 0; type < 3; ++type) {
    const QIcon icon = PlugIcon(type, 24);
    p.drawPixmap(10 + 40 * type, 10, icon.pixmap(QSize(24, 24), 1.0));
    // The 2x pixmap drawn at its device size, to see its own pixels.
    QPixmap twice = icon.pixmap(QSize(24, 24), 2.0);
    twice.setDevicePixelRatio(1.0);
    p.drawPixmap(10 + 60 * type, 50, twice);
  }
  PaintPowerPicture(p, QRectF(200, 10, 64, 64), true, ButtonState::normal);
  PaintPowerPicture(p, QRectF(270, 10, 64, 64), false, ButtonState::hover);
  PaintPowerPicture(p, QRectF(200, 80, 128, 128).adjusted(0, 0, -20, -20), true, ButtonState::pressed);
  p.end();
  const QString path = out.filePath(QStringLiteral("plug_pictures_%1.png").arg(tag));
  return sheet.save(path) ? path : QString();
}

}  // namespace

QStringList RenderPlugsGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  QStringList written;
  SmartHomeLink& link = app.smartHome();
  sh::SmartHomeController& controller = link.controller();
  // The window reads the network itself once open; read it first here so the picture never waits on
  // the synchronisation window.
  if (link.connected() && !controller.smartTableRead()) {
    controller.StartReadAll();
    controller.WaitIdle();
  }
  auto* window = new CDialogHomeTheater(link, app.frame());
  window->resize(620, 560);
  written << Take(window, out, QStringLiteral("dialog_479_smart_plug"), languageTag);

  auto* add = new CDlgZwaveEdit(link, CDlgZwaveEdit::Mode::add, {}, window);
  written << Take(add, out, QStringLiteral("dialog_480_plug_add"), languageTag);
  add->close();
  auto* edit = new CDlgZwaveEdit(link, CDlgZwaveEdit::Mode::edit, controller.memory().plug(3), window);
  written << Take(edit, out, QStringLiteral("dialog_480_plug_edit"), languageTag);
  edit->close();

  auto* onOff = new CDlgZwaveSwitch(link, 2, {}, window);
  written << Take(onOff, out, QStringLiteral("dialog_485_switch"), languageTag);
  onOff->close();
  auto* knob = new CDlgZwaveLight(link, 3, {}, window);
  written << Take(knob, out, QStringLiteral("dialog_484_knob"), languageTag);
  knob->close();

  // No time-out while the picture is taken; closed by deletion, which sends no stop.
  WaitTimings slow;
  slow.timeoutMs = 600000;
  auto* wait =
      new CWaitDlg(link, sh::WaitKind::add, 0, LangText("添加设备……", "Adding plug..."), window, slow);
  wait->OnZwaveEvent(sh::zevent::addNode, 1);
  wait->show();
  WaitUntil([wait] { return wait->progress() >= 40; }, 3000);
  written << Take(wait, out, QStringLiteral("dialog_486_wait"), languageTag);
  delete wait;

  written << PictureSheet(out, languageTag);
  window->close();
  written.removeAll(QString());
  return written;
}
