// Captions of the pages: the language table's text for a control, or the page's own pair when the table
// has none.
#pragma once

#include <QString>

QString DialogText(int dialogId, int controlId, const QString& fallback);
QString DialogText(int dialogId, int controlId, const char* zhUtf8, const char* enUtf8);
