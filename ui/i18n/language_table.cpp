// The interface language: language index, text pairs, the temporary language table file and its lookups.
#include "i18n/language_table.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QTemporaryFile>
#include <QThread>
#include <QTranslator>
#include <QVariant>
#include <QWidget>
#include <atomic>
#include <optional>

#include "i18n/ini_reader.h"
#include "look/control_id.h"

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitLanguageResources() {
  Q_INIT_RESOURCE(lang);
}

namespace {

constexpr char kSection[] = "String";
// The tables are a few kilobytes; a bound keeps a damaged file from being read without end.
constexpr qint64 kMaxTableBytes = 1 << 20;

std::atomic<int> languageIndex{0};

struct TableFile {
  QString path;
  vireo::Encoding encoding = vireo::Encoding::kGbk;
};

// The current table file. Deleted when it is replaced and when the process ends, so that the temporary
// folder does not collect one file per start and per switch.
class CurrentTable {
 public:
  ~CurrentTable() {
    if (!file_.path.isEmpty()) {
      QFile::remove(file_.path);
    }
  }
  TableFile Get() {
    QMutexLocker lock(&mutex_);
    return file_;
  }
  void Replace(TableFile next) {
    QString previous;
    {
      QMutexLocker lock(&mutex_);
      previous = file_.path;
      file_ = std::move(next);
    }
    if (!previous.isEmpty() && previous != file_.path) {
      QFile::remove(previous);
    }
  }

 private:
  QMutex mutex_;
  TableFile file_;
};

CurrentTable& Current() {
  static CurrentTable table;
  return table;
}

QString ResourcePath(int index) {
  return index == 1 ? QStringLiteral(":/lang/en.ini") : QStringLiteral(":/lang/zh.ini");
}

// Copies the resource into the open file; true only when every byte arrived.
bool CopyResource(const QString& resourcePath, QFile& target) {
  QFile resource(resourcePath);
  if (!resource.open(QIODevice::ReadOnly)) {
    return false;
  }
  const QByteArray bytes = resource.readAll();
  if (bytes.size() != resource.size()) {
    return false;
  }
  const bool written = target.write(bytes) == bytes.size() && target.flush();
  target.close();
  return written && target.error() == QFileDevice::NoError;
}

std::optional<vireo::IniTable> LoadCurrentTable() {
  const TableFile table = Current().Get();
  if (table.path.isEmpty()) {
    return std::nullopt;
  }
  QFile file(table.path);
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  const QByteArray bytes = file.read(kMaxTableBytes);
  return vireo::ParseIni(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                         table.encoding);
}

QString Lookup(const vireo::IniTable& table, int dialogId, const QString& suffix) {
  const QByteArray key = QStringLiteral("IDD%1_%2").arg(dialogId).arg(suffix).toUtf8();
  return QString::fromStdString(table.Lookup(kSection, std::string_view(key.constData(), key.size())));
}

void SetCaption(QWidget* widget, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(text);
  } else {
    widget->setWindowTitle(text);
  }
}

// Qt's own texts (the buttons of question boxes, the file dialog) in the interface language: English is
// built in, Chinese comes from Qt's translations when they are installed.
void FollowWithQtTexts(int index) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() != app->thread()) return;
  static QPointer<QTranslator> qtTexts;
  if (index == 1) {
    if (qtTexts) QCoreApplication::removeTranslator(qtTexts);
    return;
  }
  if (!qtTexts) {
    qtTexts = new QTranslator(app);
    if (!qtTexts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      qWarning("Qt's Chinese texts are not installed (qt6-translations-l10n): stock buttons stay English");
    }
  }
  QCoreApplication::removeTranslator(qtTexts);  // installed once, however often Chinese is chosen
  if (!qtTexts->isEmpty()) QCoreApplication::installTranslator(qtTexts);
}

}  // namespace

int LanguageIndex() {
  return languageIndex.load(std::memory_order_relaxed);
}

void SetLanguageIndex(int index) {
  languageIndex.store(index == 1 ? 1 : 0, std::memory_order_relaxed);
  FollowWithQtTexts(index == 1 ? 1 : 0);
}

QString Pick(const QString& zh, const QString& en) {
  return LanguageIndex() == 1 ? en : zh;
}

QString LangText(const char* zhUtf8, const char* enUtf8) {
  return LanguageIndex() == 1 ? QString::fromUtf8(enUtf8) : QString::fromUtf8(zhUtf8);
}

bool WriteLanguageTable(int index) {
  InitLanguageResources();
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/NOVXXXXXX.tmp"));
  file.setAutoRemove(false);
  if (!file.open()) {
    Current().Replace({});
    return false;
  }
  const TableFile next{file.fileName(), index == 1 ? vireo::Encoding::kUtf8 : vireo::Encoding::kGbk};
  const bool written = CopyResource(ResourcePath(index), file);
  file.close();
  Current().Replace(next);
  return written;
}

QString CurrentLanguageTablePath() {
  return Current().Get().path;
}

QString LookupLanguageText(int dialogId, const QString& keySuffix) {
  const std::optional<vireo::IniTable> table = LoadCurrentTable();
  return table ? Lookup(*table, dialogId, keySuffix) : QString();
}

void ApplyLanguageTexts(QWidget* window, int dialogId) {
  if (window == nullptr) {
    return;
  }
  const std::optional<vireo::IniTable> table = LoadCurrentTable();
  if (!table) {
    return;
  }
  const QString title = Lookup(*table, dialogId, QStringLiteral("title"));
  if (!title.isEmpty()) {
    window->setWindowTitle(title);
  }
  const QObjectList children = window->children();  // a copy: captions must not disturb the walk
  for (QObject* child : children) {
    if (!child->isWidgetType()) {
      continue;
    }
    const QVariant id = child->property(kControlIdProperty);
    if (!id.isValid()) {
      continue;
    }
    const QString caption = Lookup(*table, dialogId, QString::number(id.toInt()));
    if (!caption.isEmpty()) {
      SetCaption(static_cast<QWidget*>(child), caption);
    }
  }
}
