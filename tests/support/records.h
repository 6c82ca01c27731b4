#pragma once
// Bytes as the board sends them, built independently of the station's decoder.

#include <QByteArray>
#include <QList>
#include <initializer_list>

namespace vemra::test {

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A board record of these raw samples; its checksum makes the sample bytes and itself sum
// to 255, or not when asked.
inline QByteArray record(const QList<int>& raws, bool badChecksum = false) {
    QByteArray r(1, '\x55');
    int sum = 0;
    for (int raw : raws) {
        r += bytes({raw & 0xFF, raw >> 8});
        sum += (raw & 0xFF) + (raw >> 8);
    }
    return r + bytes({255 - sum % 256 + (badChecksum ? 1 : 0)});
}

// `records` CH0 records whose raw values count up from `first`.
inline QByteArray block(int first, int records) {
    QByteArray b;
    for (int i = 0; i < records; ++i)
        b += record({first + i});
    return b;
}

} // namespace vemra::test
