// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

// Core text is Windows-1252 bytes; windows show QStrings. These are the only
// conversions between the two.
namespace tl {

QString toQString(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become "?".
std::string fromQString(const QString& text);

// Texts joined by tabs: a grid row as the flex grid takes it.
template <typename Texts>
QString tabbedRow(const Texts& texts) {
    QStringList cells;
    for (const auto& text : texts)
        cells << toQString(text);
    return cells.join('\t');
}

// File paths pass between Qt and core in the local file-name encoding.
std::string toPath(const QString& path);
QString fromPath(const std::string& path);

}  // namespace tl
