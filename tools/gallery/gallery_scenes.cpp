// The scene page and the remote key page on the emulator's plug network.
#include "gallery_scenes.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>
#include <QWidget>

#include "app/kestrel_app.h"
#include "gallery_shots.h"
#include "home/home_theater_dlg.h"
#include "home/remote_learn_page.h"
#include "home/scene_page.h"
#include "look/control_id.h"
#include "services/smart_home_link.h"
#include "shell/main_frame.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace sh = vireo::smarthome;

constexpr int kInfraredPlug = 4;

struct Size {
  QSize size;
  const char* suffix;
};
const Size kSizes[] = {{QSize(640, 420), ""}, {QSize(560, 380), "_small"}};

QString Save(QWidget* window, const QDir& out, const QString& name, const QString& tag) {
  WaitUntil([] { return false; }, 80);  // let layouts and paints settle
  const QString path = out.filePath(QStringLiteral("%1_%2.png").arg(name, tag));
  return window->grab().save(path) ? path : QString();
}

// The infrared plug's key file with a few named and learned keys, as after some learning.
void DemoKeys(SmartHomeLink& link) {
  const std::string folder = link.plugFolder();
  std::string error;
  if (folder.empty() || !sh::EnsureFolder(folder, &error)) return;
  std::vector<sh::PlugKey> keys = sh::DefaultPlugKeys();
  const char* names[] = {"TV Power", "Volume +", "Volume -", "Input"};
  for (std::size_t k = 0; k < std::size(names); ++k) {
    keys[k].name = names[k];
    keys[k].status = k < 3 ? 1 : 0;
  }
  sh::SavePlugKeys(sh::PlugKeyFilePath(folder, kInfraredPlug), keys, &error);
}

// The page alone in a window of the page area's size.
class Host {
 public:
  explicit Host(QWidget* page) {
    auto* box = new QVBoxLayout(&window_);
    box->setContentsMargins(0, 0, 0, 0);
    page->setParent(&window_);
    box->addWidget(page);
  }
  QWidget* Show(QSize size) {
    window_.resize(size);
    window_.show();
    return &window_;
  }

 private:
  QWidget window_;
};

QStringList SceneShots(SmartHomeLink& link, const QDir& out, const QString& tag) {
  QStringList written;
  auto* page = new CDialogZwaveRemoter(link, nullptr);
  Host host(page);
  // The power-on scene: a switch, a knob level, a delay, a remote key and the HDMI input.
  FindByControlId<QListWidget>(page, scene_page_id::sceneList)->setCurrentRow(4);
  FindByControlId<QTableWidget>(page, scene_page_id::stepList)->selectRow(1);
  for (const Size& s : kSizes) {
    written << Save(host.Show(s.size), out, QStringLiteral("page_482_scenes%1").arg(s.suffix), tag);
  }
  FindByControlId<QTableWidget>(page, scene_page_id::stepList)->selectRow(3);
  written << Save(host.Show(kSizes[0].size), out, QStringLiteral("page_482_scenes_key_step"), tag);
  return written;
}

QStringList LearnShots(SmartHomeLink& link, const QDir& out, const QString& tag) {
  QStringList written;
  auto* page = new CRemoteLearnDlg(link, nullptr, nullptr);
  Host host(page);
  auto* plugs = FindByControlId<QComboBox>(page, remote_learn_id::plugChoice);
  if (plugs != nullptr) plugs->setCurrentIndex(plugs->findData(kInfraredPlug));
  FindByControlId<QTableWidget>(page, remote_learn_id::keyList)->selectRow(1);
  for (const Size& s : kSizes) {
    written << Save(host.Show(s.size), out, QStringLiteral("page_516_remote_learn%1").arg(s.suffix), tag);
  }
  return written;
}

// Both pages in their place: the smart-plug window with the scene tab, then the learn tab, chosen.
QStringList WindowShots(CKestrelv13App& app, SmartHomeLink& link, const QDir& out, const QString& tag) {
  QStringList written;
  auto* window = new CDialogHomeTheater(link, app.frame());
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->resize(620, 560);
  window->show();
  const std::pair<int, const char*> tabs[] = {{home_id::sceneTab, "dialog_479_scene_tab"},
                                              {home_id::learnTab, "dialog_479_learn_tab"}};
  for (const auto& [tab, name] : tabs) {
    if (auto* button = FindByControlId<QAbstractButton>(window, tab)) button->click();
    written << Save(window, out, QString::fromLatin1(name), tag);
  }
  window->close();
  return written;
}

}  // namespace

QStringList RenderScenesGallery(CKestrelv13App& app, const QDir& out, const QString& languageTag) {
  SmartHomeLink& link = app.smartHome();
  sh::SmartHomeController& controller = link.controller();
  if (!controller.smartTableRead() && controller.StartReadAll()) {
    WaitUntil([&controller] { return controller.smartTableRead(); }, 30000);
  }
  DemoKeys(link);
  QStringList written = SceneShots(link, out, languageTag);
  written += LearnShots(link, out, languageTag);
  written += WindowShots(app, link, out, languageTag);
  written.removeAll(QString());
  return written;
}
