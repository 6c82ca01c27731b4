#pragma once
// A "Vemra.ini" in the form "Save Configuration" writes it, its values off the station's
// defaults, so that a test sees each one applied, refused or written back.

#include "files/configfile.h"

#include <QByteArrayList>

namespace vemra::test {

inline QByteArrayList sampleConfigLines() {
    const QList<QByteArray> values =
        QByteArray("3|0|500|200|20|1|2000|1|0|1|1E-06|1,5E+20|-0,0123|Load (N)|Temp \260C||2,5|2|3|"
                   "Strain (Ohm)|CONF:RES|TRIG:SOUR BUS|TRIG:COUNT 1|RES:NPLC 10|*CLS|True")
            .split('|');
    QByteArrayList lines;
    for (int n = 0; n < configLineCount; ++n)
        lines << configKeys()[n].toLatin1() + '\t' + values[n];
    return lines;
}

inline QByteArray joinedLines(const QByteArrayList& lines, const QByteArray& end = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + end;
    return bytes;
}

// The sample file with line `replaced` (from 1) in place of the sample's.
inline QByteArray sampleConfigFile(int line = 0, const QByteArray& replaced = {}) {
    QByteArrayList lines = sampleConfigLines();
    if (line > 0)
        lines[line - 1] = replaced;
    return joinedLines(lines);
}

} // namespace vemra::test
