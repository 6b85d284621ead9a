// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include "import/markbook_sheet.h"

// The markbook readers: delimited text (CSV, TXT), XLSX and ODS, each giving
// its first sheet. A file is only read, never changed or locked; whatever it
// holds, a reader gives a sheet or a refusal.
namespace tl {

enum class MarkbookFormat { Delimited, Xlsx, Ods };

// The format a file's name says: ".xlsx", ".ods", and delimited text for the rest.
MarkbookFormat markbookFormatOf(const QString& path);

// Reads the file at path; one over 20 MB is refused before it is read.
MarkbookRead readMarkbookFile(const QString& path);

MarkbookRead readMarkbook(const QByteArray& bytes, MarkbookFormat format);

// Delimited text in UTF-8 (with or without a byte-order mark), UTF-16 (with
// one) or Windows-1252.
MarkbookRead readDelimited(const QByteArray& bytes);

// The XML parts of a spreadsheet by themselves, as the zipped readers take
// them (an absent part is empty): a worksheet with its shared strings and
// styles, and an ODS document's content.
MarkbookRead readXlsxParts(const QByteArray& sheet, const QByteArray& sharedStrings,
                           const QByteArray& styles);
MarkbookRead readOdsContent(const QByteArray& content);

}  // namespace tl
