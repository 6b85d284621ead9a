// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/encoding.h"

#include <QFile>
#include <array>

namespace tl {

namespace {
// Unicode of the bytes 0x80 to 0x9F; the five unassigned bytes map to the C1
// controls of the same value so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

QString toQString(std::string_view cp1252) {
    // Latin-1 but for the bytes 0x80 to 0x9F, which are mended afterwards.
    QString out = QString::fromLatin1(cp1252.data(), static_cast<qsizetype>(cp1252.size()));
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        const auto c = static_cast<unsigned char>(cp1252[i]);
        if (c >= 0x80 && c <= 0x9F) out[static_cast<qsizetype>(i)] = QChar(kHigh[c - 0x80]);
    }
    return out;
}

std::string fromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (std::size_t i = 0; i < kHigh.size(); ++i) {
            if (kHigh[i] == u) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

std::string toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString fromPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

}  // namespace tl
