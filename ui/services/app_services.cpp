// The texts the services give every window alike.
#include "services/app_services.h"

#include "i18n/language_table.h"

QString MutedVolumeNotice() {
  return LangText("当前是静音状态", "vol is mute");
}
