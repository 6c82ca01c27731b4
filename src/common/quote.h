#pragma once
// Bad input quoted in a message: a short prefix only, so that a damaged file of a mebibyte
// on one line does not become a message the window spends minutes laying out.

#include <QString>
#include <QStringView>

namespace vemra {

// The text in double quotes, cut after `most` characters with "…"; control characters
// (a binary file's bytes) shown as '?'.
QString quotedPrefix(QStringView text, int most = 40);

} // namespace vemra
