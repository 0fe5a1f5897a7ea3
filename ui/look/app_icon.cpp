// The application icon.
#include "look/app_icon.h"

#include <QString>

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : kApplicationIconSizes) {
    icon.addFile(QStringLiteral(":/icons/vireo-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
