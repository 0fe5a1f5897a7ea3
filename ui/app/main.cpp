// vireo: the tuning application.
#include <QApplication>

#include "app/kestrel_app.h"
#include "services/launch_options.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  AppConfig config;
  config.launch = ParseLaunchOptions(QApplication::arguments().mid(1));
  CKestrelv13App app(argc, argv, config);
  switch (app.Start()) {
    case CKestrelv13App::StartResult::running:
      return app.Exec();
    case CKestrelv13App::StartResult::endQuietly:
      return 0;
    case CKestrelv13App::StartResult::endWithFailure:
      return config.launch.ok ? 1 : 2;
  }
  return 1;
}
