// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/markbook_readers.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include "platform/encoding.h"

namespace tl {

namespace {

using Refusal = MarkbookRefusal;

// The next XML token; false at the end of the document, or when it is
// refused (a document type declaration) or broken.
bool nextToken(QXmlStreamReader& xml, Refusal& refusal) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::DTD) {
        refusal = Refusal::DocumentType;
        return false;
    }
    if (xml.hasError()) {
        refusal = Refusal::Damaged;
        return false;
    }
    return token != QXmlStreamReader::EndDocument;
}

// Skips the element just started; false when the document breaks inside it.
bool skipElement(QXmlStreamReader& xml, Refusal& refusal) {
    xml.skipCurrentElement();
    if (!xml.hasError()) return true;
    refusal = Refusal::Damaged;
    return false;
}

// An attribute of the element just started, by its name without namespace.
QStringView attribute(const QXmlStreamReader& xml, QStringView name) {
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == name) return a.value();
    return {};
}

// A row or column count in an attribute; beyond the sheet's limits it stays
// just past them, so that a value there is refused.
int countIn(QStringView text, int fallback) {
    if (text.isEmpty()) return fallback;
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok || n < 1) return fallback;
    return static_cast<int>(std::min<qlonglong>(n, kMarkbookMaxRows + kMarkbookMaxColumns + 1));
}

// The zipped parts of an XLSX or ODS file, read within the limits.
class ZipParts {
  public:
    explicit ZipParts(const QByteArray& bytes) : zip_(&buffer_) { buffer_.setData(bytes); }

    // Opens the file and checks every part's flags and sizes.
    Refusal open() {
        if (!zip_.open(QuaZip::mdUnzip)) return Refusal::Damaged;
        const QList<QuaZipFileInfo64> parts = zip_.getFileInfoList64();
        if (zip_.getZipError() != UNZ_OK) return Refusal::Damaged;
        for (const QuaZipFileInfo64& part : parts) {
            if ((part.flags & 1) != 0) return Refusal::Encrypted;
            if (part.uncompressedSize > kMarkbookMaxPartBytes) return Refusal::PartTooLarge;
            if (part.uncompressedSize > limitFor(part.compressedSize)) return Refusal::Compression;
        }
        return Refusal::None;
    }

    // The part's bytes; an absent part reads as empty. The sizes the file
    // states are not trusted: reading stops at the limits.
    Refusal read(const QString& name, QByteArray& out) {
        out.clear();
        if (!zip_.setCurrentFile(name, QuaZip::csInsensitive)) return Refusal::None;
        QuaZipFileInfo64 info;
        if (!zip_.getCurrentFileInfo(&info)) return Refusal::Damaged;
        const quint64 limit = limitFor(info.compressedSize);
        QuaZipFile file(&zip_);
        if (!file.open(QIODevice::ReadOnly)) return Refusal::Damaged;
        char chunk[1 << 16];
        for (;;) {
            const qint64 n = file.read(chunk, sizeof chunk);
            if (n < 0) return Refusal::Damaged;
            if (n == 0) break;
            out.append(chunk, n);
            if (static_cast<quint64>(out.size()) > kMarkbookMaxPartBytes)
                return Refusal::PartTooLarge;
            if (static_cast<quint64>(out.size()) > limit) return Refusal::Compression;
        }
        file.close();
        return file.getZipError() == UNZ_OK ? Refusal::None : Refusal::Damaged;
    }

  private:
    // What a part compressed to this size may unpack to. A part under 1 MB
    // unpacked can harm nothing, however far it was compressed.
    static quint64 limitFor(quint64 compressed) {
        constexpr quint64 kSmall = 1024 * 1024;
        return std::max(kSmall, compressed * kMarkbookMaxRatio);
    }

    QBuffer buffer_;
    QuaZip zip_;
};

// XLSX ----------------------------------------------------------------------

enum class NumberFormat { General, Percent, Date };

// What a number format code shows: a percentage, a date or time, or a number.
NumberFormat formatOfCode(QStringView code) {
    bool date = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;  // the next character is shown as it is, or spaced
        } else if (c == u'[') {
            // Colours and conditions; [h], [mm] and [ss] are elapsed times.
            const qsizetype close = code.indexOf(u']', i + 1);
            const QStringView inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1);
            if (!inside.isEmpty() && QStringView(u"hHmMsS").contains(inside[0]) &&
                inside.size() <= 3) {
                date = true;
            }
            i = close < 0 ? code.size() : close;
        } else if (c == u'%') {
            return NumberFormat::Percent;
        } else if (QStringView(u"dDmMyYhHsS").contains(c)) {
            date = true;
        }
    }
    return date ? NumberFormat::Date : NumberFormat::General;
}

NumberFormat builtInFormat(int id) {
    if (id == 9 || id == 10) return NumberFormat::Percent;
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
        (id >= 50 && id <= 58)) {
        return NumberFormat::Date;
    }
    return NumberFormat::General;
}

// The number format of each cell style (the cellXfs), by its index.
Refusal readStyles(const QByteArray& bytes, std::vector<NumberFormat>& formats) {
    if (bytes.isEmpty()) return Refusal::None;
    QXmlStreamReader xml(bytes);
    Refusal refusal = Refusal::None;
    std::vector<std::pair<int, NumberFormat>> custom;
    bool cellFormats = false;
    while (nextToken(xml, refusal)) {
        if (xml.isStartElement()) {
            if (xml.name() == u"numFmt") {
                custom.emplace_back(attribute(xml, u"numFmtId").toInt(),
                                    formatOfCode(attribute(xml, u"formatCode")));
            } else if (xml.name() == u"cellXfs") {
                cellFormats = true;
            } else if (xml.name() == u"xf" && cellFormats) {
                const int id = attribute(xml, u"numFmtId").toInt();
                NumberFormat format = builtInFormat(id);
                for (const auto& [customId, customFormat] : custom)
                    if (customId == id) format = customFormat;
                formats.push_back(format);
            }
        } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
            cellFormats = false;
        }
    }
    return refusal;
}

// The text of a rich text element just started (a shared string, an inline
// string): its runs' texts, without the phonetic guides.
std::optional<QString> richText(QXmlStreamReader& xml, Refusal& refusal) {
    QString text;
    for (int depth = 1; depth > 0;) {
        if (!nextToken(xml, refusal)) return std::nullopt;
        if (xml.isStartElement()) {
            if (xml.name() == u"rPh") {
                if (!skipElement(xml, refusal)) return std::nullopt;
            } else if (xml.name() == u"t") {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                if (xml.hasError()) {
                    refusal = Refusal::Damaged;
                    return std::nullopt;
                }
            } else {
                ++depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return text;
}

Refusal readSharedStrings(const QByteArray& bytes, std::vector<std::string>& strings) {
    if (bytes.isEmpty()) return Refusal::None;
    QXmlStreamReader xml(bytes);
    Refusal refusal = Refusal::None;
    while (nextToken(xml, refusal)) {
        if (!xml.isStartElement() || xml.name() != u"si") continue;
        const std::optional<QString> text = richText(xml, refusal);
        if (!text) return refusal;
        strings.push_back(fromQString(*text));
    }
    return refusal;
}

// A date serial number of the 1900 date system as text ("2024-03-15").
std::string dateText(const QString& serial) {
    bool ok = false;
    const double value = serial.toDouble(&ok);
    if (!ok || !(value >= 1 && value < 2958466)) return fromQString(serial);
    // 1900 counts a 29 February it did not have.
    long days = static_cast<long>(std::floor(value)) - (value >= 61 ? 2 : 1);
    // Days since 1900-01-01 to a civil date.
    days += 693901;  // to days since 0000-03-01
    const long era = days / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    const long day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    const long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return QString("%1-%2-%3")
        .arg(year, 4, 10, QChar('0'))
        .arg(month, 2, 10, QChar('0'))
        .arg(day, 2, 10, QChar('0'))
        .toStdString();
}

// A cell reference's column from 1 ("B7" is 2), or 0 when it has none.
int columnOfReference(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z') break;
        column = std::min(column * 26 + (c.unicode() - u'A' + 1), kMarkbookMaxColumns + 1);
    }
    return column;
}

// One <c> element just started, read to its end.
std::optional<MarkbookCell> xlsxCell(QXmlStreamReader& xml, const std::vector<std::string>& shared,
                                     const std::vector<NumberFormat>& formats, Refusal& refusal) {
    const QString type = attribute(xml, u"t").toString();
    const int style = attribute(xml, u"s").toInt();
    QString value;
    std::optional<QString> inline_;
    for (int depth = 1; depth > 0;) {
        if (!nextToken(xml, refusal)) return std::nullopt;
        if (xml.isStartElement()) {
            if (xml.name() == u"v") {
                value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else if (xml.name() == u"is") {
                inline_ = richText(xml, refusal);
                if (!inline_) return std::nullopt;
            } else if (!skipElement(xml, refusal)) {
                return std::nullopt;
            }
            if (xml.hasError()) {
                refusal = Refusal::Damaged;
                return std::nullopt;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    using Kind = MarkbookCell::Kind;
    if (type == u"inlineStr") return MarkbookCell{Kind::Text, fromQString(inline_.value_or(""))};
    if (type == u"s") {
        bool ok = false;
        const qulonglong index = value.trimmed().toULongLong(&ok);
        if (!ok || index >= shared.size()) return MarkbookCell{};
        return MarkbookCell{Kind::Text, shared[index]};
    }
    if (type == u"b") return MarkbookCell{Kind::Text, value.trimmed() == u"1" ? "TRUE" : "FALSE"};
    if (type == u"str" || type == u"e" || type == u"d")
        return MarkbookCell{Kind::Text, fromQString(value)};
    const QString number = value.trimmed();
    if (number.isEmpty()) return MarkbookCell{};
    const NumberFormat format = style >= 0 && static_cast<std::size_t>(style) < formats.size()
                                    ? formats[static_cast<std::size_t>(style)]
                                    : NumberFormat::General;
    if (format == NumberFormat::Date) return MarkbookCell{Kind::Text, dateText(number)};
    return MarkbookCell{format == NumberFormat::Percent ? Kind::Percent : Kind::Number,
                        fromQString(number)};
}

// The first sheet a workbook lists, through its relationships: the part
// names of the sheet, the shared strings and the styles.
struct WorkbookParts {
    QString sheet = "xl/worksheets/sheet1.xml";
    QString sharedStrings = "xl/sharedStrings.xml";
    QString styles = "xl/styles.xml";
};

QString partName(QStringView target) {
    if (target.startsWith(u'/')) return target.mid(1).toString();
    return "xl/" + target.toString();
}

Refusal readWorkbook(ZipParts& zip, WorkbookParts& parts) {
    QByteArray workbook, relations;
    if (Refusal r = zip.read("xl/workbook.xml", workbook); r != Refusal::None) return r;
    if (Refusal r = zip.read("xl/_rels/workbook.xml.rels", relations); r != Refusal::None) return r;
    if (workbook.isEmpty()) return Refusal::Damaged;
    Refusal refusal = Refusal::None;
    QStringList sheetIds;
    QXmlStreamReader book(workbook);
    while (nextToken(book, refusal))
        if (book.isStartElement() && book.name() == u"sheet")
            sheetIds << attribute(book, u"id").toString();
    if (refusal != Refusal::None || relations.isEmpty()) return refusal;
    QXmlStreamReader rels(relations);
    QString firstSheet;
    int firstAt = static_cast<int>(sheetIds.size());
    while (nextToken(rels, refusal)) {
        if (!rels.isStartElement() || rels.name() != u"Relationship") continue;
        const QStringView type = attribute(rels, u"Type");
        const QString target = partName(attribute(rels, u"Target"));
        if (type.endsWith(u"/sharedStrings")) parts.sharedStrings = target;
        if (type.endsWith(u"/styles")) parts.styles = target;
        const int at = static_cast<int>(sheetIds.indexOf(attribute(rels, u"Id").toString()));
        if (type.endsWith(u"/worksheet") && at >= 0 && at < firstAt) {
            firstAt = at;
            firstSheet = target;
        }
    }
    if (!firstSheet.isEmpty()) parts.sheet = firstSheet;
    return refusal;
}

MarkbookRead readXlsx(const QByteArray& bytes) {
    // A password-protected workbook is a compound document, not a zip file.
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        const QByteArray marker =
            QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o", 27);
        return {{}, bytes.contains(marker) ? Refusal::Encrypted : Refusal::Damaged};
    }
    ZipParts zip(bytes);
    if (Refusal r = zip.open(); r != Refusal::None) return {{}, r};
    WorkbookParts parts;
    if (Refusal r = readWorkbook(zip, parts); r != Refusal::None) return {{}, r};
    QByteArray sheet, shared, styles;
    for (auto [name, out] :
         {std::pair{parts.sheet, &sheet}, std::pair{parts.sharedStrings, &shared},
          std::pair{parts.styles, &styles}}) {
        if (Refusal r = zip.read(name, *out); r != Refusal::None) return {{}, r};
    }
    if (sheet.isEmpty()) return {{}, Refusal::Damaged};
    return readXlsxParts(sheet, shared, styles);
}

// ODS -----------------------------------------------------------------------

// The text of a table cell just started: its paragraphs, one a line, without
// its comments.
std::optional<QString> odsCellText(QXmlStreamReader& xml, Refusal& refusal) {
    QString text;
    bool firstParagraph = true;
    int paragraphDepth = 0;
    for (int depth = 1; depth > 0;) {
        if (!nextToken(xml, refusal)) return std::nullopt;
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"annotation" || name == u"note" || name == u"table") {
                if (!skipElement(xml, refusal)) return std::nullopt;
                continue;
            }
            ++depth;
            if ((name == u"p" || name == u"h") && paragraphDepth == 0) {
                if (!firstParagraph) text += u'\n';
                firstParagraph = false;
                paragraphDepth = depth;
            } else if (paragraphDepth > 0 && name == u"s") {
                text += QString(std::min(countIn(attribute(xml, u"c"), 1), 1000), u' ');
            } else if (paragraphDepth > 0 && name == u"tab") {
                text += u'\t';
            } else if (paragraphDepth > 0 && name == u"line-break") {
                text += u'\n';
            }
        } else if (xml.isEndElement()) {
            if (depth == paragraphDepth) paragraphDepth = 0;
            --depth;
        } else if (xml.isCharacters() && paragraphDepth > 0) {
            text += xml.text();
        }
    }
    return text;
}

// One row's cells, each with its column (from 1) and how often it repeats.
struct OdsCell {
    int column;
    int repeated;
    MarkbookCell cell;
};

}  // namespace

MarkbookFormat markbookFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx") return MarkbookFormat::Xlsx;
    if (suffix == u"ods") return MarkbookFormat::Ods;
    return MarkbookFormat::Delimited;
}

MarkbookRead readMarkbookFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {{}, Refusal::Unreadable};
    if (static_cast<quint64>(file.size()) > kMarkbookMaxBytes) return {{}, Refusal::TooLarge};
    // A file that grows while it is read is held to the limit too.
    const QByteArray bytes = file.read(static_cast<qint64>(kMarkbookMaxBytes) + 1);
    if (static_cast<quint64>(bytes.size()) > kMarkbookMaxBytes) return {{}, Refusal::TooLarge};
    if (file.error() != QFileDevice::NoError) return {{}, Refusal::Unreadable};
    return readMarkbook(bytes, markbookFormatOf(path));
}

MarkbookRead readMarkbook(const QByteArray& bytes, MarkbookFormat format) {
    switch (format) {
        case MarkbookFormat::Xlsx:
            return readXlsx(bytes);
        case MarkbookFormat::Ods: {
            ZipParts zip(bytes);
            if (Refusal r = zip.open(); r != Refusal::None) return {{}, r};
            QByteArray manifest, content;
            if (Refusal r = zip.read("META-INF/manifest.xml", manifest); r != Refusal::None)
                return {{}, r};
            if (manifest.contains("encryption-data")) return {{}, Refusal::Encrypted};
            if (Refusal r = zip.read("content.xml", content); r != Refusal::None) return {{}, r};
            if (content.isEmpty()) return {{}, Refusal::Damaged};
            return readOdsContent(content);
        }
        case MarkbookFormat::Delimited:
            break;
    }
    return readDelimited(bytes);
}

MarkbookRead readDelimited(const QByteArray& bytes) {
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE);
        text = utf16(bytes.mid(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8(bytes);
        // Not UTF-8: Windows-1252, byte for byte.
        if (utf8.hasError()) text = toQString(std::string_view(bytes.constData(), bytes.size()));
    }
    return splitDelimitedText(fromQString(text));
}

MarkbookRead readXlsxParts(const QByteArray& sheet, const QByteArray& sharedStrings,
                           const QByteArray& styles) {
    std::vector<std::string> shared;
    std::vector<NumberFormat> formats;
    if (Refusal r = readSharedStrings(sharedStrings, shared); r != Refusal::None) return {{}, r};
    if (Refusal r = readStyles(styles, formats); r != Refusal::None) return {{}, r};
    QXmlStreamReader xml(sheet);
    Refusal refusal = Refusal::None;
    SheetBuilder builder;
    int row = 0;
    int column = 0;
    while (nextToken(xml, refusal)) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"row") {
            row = countIn(attribute(xml, u"r"), row + 1);
            column = 0;
        } else if (xml.name() == u"c") {
            const int referred = columnOfReference(attribute(xml, u"r"));
            column = referred > 0 ? referred : column + 1;
            const std::optional<MarkbookCell> cell = xlsxCell(xml, shared, formats, refusal);
            if (!cell) break;
            if (!builder.put(std::max(row, 1), column, *cell)) break;
        }
    }
    if (refusal != Refusal::None) return {{}, refusal};
    return builder.finish();
}

MarkbookRead readOdsContent(const QByteArray& content) {
    QXmlStreamReader xml(content);
    Refusal refusal = Refusal::None;
    SheetBuilder builder;
    bool inTable = false;
    int row = 1;
    int rowsRepeated = 1;
    int column = 1;
    std::vector<OdsCell> cells;
    while (nextToken(xml, refusal)) {
        const QStringView name = xml.name();
        if (xml.isStartElement() && name == u"table") {
            // The first table is the first sheet.
            if (inTable && !skipElement(xml, refusal)) break;
            inTable = true;
        } else if (!inTable) {
            continue;
        } else if (xml.isStartElement() && name == u"table-row") {
            rowsRepeated = countIn(attribute(xml, u"number-rows-repeated"), 1);
            column = 1;
            cells.clear();
        } else if (xml.isStartElement() &&
                   (name == u"table-cell" || name == u"covered-table-cell")) {
            const int repeated = countIn(attribute(xml, u"number-columns-repeated"), 1);
            const QString type = attribute(xml, u"value-type").toString();
            const QString value = attribute(xml, u"value").toString();
            const std::optional<QString> text = odsCellText(xml, refusal);
            if (!text) break;
            MarkbookCell cell{MarkbookCell::Kind::Text, fromQString(*text)};
            if ((type == u"float" || type == u"currency" || type == u"percentage") &&
                !value.isEmpty()) {
                cell = {type == u"percentage" ? MarkbookCell::Kind::Percent
                                              : MarkbookCell::Kind::Number,
                        fromQString(value)};
            }
            if (!cell.text.empty()) cells.push_back({column, repeated, std::move(cell)});
            column = std::min(column + repeated, kMarkbookMaxColumns + 1);
        } else if (xml.isEndElement() && name == u"table-row") {
            bool kept = true;
            for (int r = 0; kept && !cells.empty() && r < rowsRepeated; ++r) {
                for (const OdsCell& c : cells) {
                    for (int k = 0; kept && k < c.repeated; ++k)
                        kept = builder.put(row + r, c.column + k, c.cell);
                }
            }
            if (!kept) break;
            row = std::min(row + rowsRepeated, kMarkbookMaxRows + 1);
        } else if (xml.isEndElement() && name == u"table") {
            break;
        }
    }
    if (refusal != Refusal::None) return {{}, refusal};
    return builder.finish();
}

}  // namespace tl
