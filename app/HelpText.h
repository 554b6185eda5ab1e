#pragma once

#include <QString>
#include <QStringList>

// The words of the help page: drawn into its picture by the picture generator, and read out
// by a screen reader as the picture's description.
namespace helptext {

QString Title();
QStringList Steps();
QString Closing();
// The whole page as one text, steps numbered as the picture shows them.
QString Spoken();

}  // namespace helptext
