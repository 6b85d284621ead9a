#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the hand-made markbooks of this folder (see README.md): the text
# encodings and quotes, an XLSX and an ODS put together part by part, and the
# files the readers must refuse. Run once from this folder; the files are
# committed, so nothing runs this in a build.
import struct
import zipfile

XLSX_TYPES = (
    '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
    'package/2006/content-types"><Default Extension="xml" ContentType="application/xml"/></Types>')
WORKBOOK = (
    '<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/'
    'spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/'
    'relationships"><sheets><sheet name="Notes" sheetId="2" r:id="rId7"/>'
    '<sheet name="Other" sheetId="1" r:id="rId3"/></sheets></workbook>')
RELS = (
    '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/'
    'package/2006/relationships">'
    '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
    'relationships/worksheet" Target="worksheets/other.xml"/>'
    '<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
    'relationships/worksheet" Target="/xl/worksheets/marks.xml"/>'
    '<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
    'relationships/sharedStrings" Target="strings.xml"/>'
    '<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
    'relationships/styles" Target="styles.xml"/></Relationships>')
STRINGS = (
    '<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/'
    'spreadsheetml/2006/main"><si><t>Student ID</t></si><si><t>Surname</t></si>'
    '<si><r><rPr><b/></rPr><t>Tr</t></r><r><t xml:space="preserve">emblay </t></r>'
    '<rPh sb="0" eb="1"><t>IGNORED</t></rPh></si><si><t>Final</t></si></sst>')
STYLES = (
    '<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/'
    'spreadsheetml/2006/main"><numFmts count="2"><numFmt numFmtId="164" formatCode="0.0%"/>'
    '<numFmt numFmtId="165" formatCode="[Red]0.00;&quot;days&quot;"/></numFmts>'
    '<cellStyleXfs count="1"><xf numFmtId="9"/></cellStyleXfs>'
    '<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="9"/><xf numFmtId="164"/>'
    '<xf numFmtId="14"/><xf numFmtId="165"/></cellXfs></styleSheet>')
# Row 2: shared strings, a percentage (built-in), a date; row 4 (no row
# number given after row 3's): a formula's cached value, a formula's text, an
# inline string, a custom percentage; a cell without a reference; a boolean
# and an error.
SHEET = (
    '<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/'
    'spreadsheetml/2006/main"><sheetData>'
    '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c>'
    '<c r="D1" t="s"><v>3</v></c></row>'
    '<row r="2"><c r="A2"><v>300039595</v></c><c r="B2" t="s"><v>2</v></c>'
    '<c r="D2" s="1"><v>0.785</v></c><c r="E2" s="3"><v>45366</v></c></row>'
    '<row r="3"><c r="A3" s="4"><v>3.00039596E8</v></c></row>'
    '<row><c r="B4"><f>C4*2</f><v>81.5</v></c><c r="C4" t="str"><f>"I"</f><v>I</v></c>'
    '<c r="D4" t="inlineStr"><is><t>ABS</t></is></c><c s="2"><v>0.7949</v></c><c t="b"><v>1</v></c>'
    '<c t="e"><v>#DIV/0!</v></c></row></sheetData></worksheet>')
OTHER = (
    '<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/'
    'spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1"><v>1</v></c></row></sheetData>'
    '</worksheet>')

ODS_NS = (
    'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"')
# A value repeated over columns, a row repeated, empty rows and columns
# repeated to the sheet's edge, a comment, spaces, two paragraphs, a merged
# cell and a second sheet.
CONTENT = (
    '<?xml version="1.0" encoding="UTF-8"?><office:document-content ' + ODS_NS + '>'
    '<office:body><office:spreadsheet><table:table table:name="Marks">'
    '<table:table-column table:number-columns-repeated="1024"/>'
    '<table:table-header-rows><table:table-row>'
    '<table:table-cell office:value-type="string"><text:p>Number</text:p></table:table-cell>'
    '<table:table-cell office:value-type="string"><text:p>Last,<text:s text:c="2"/>First'
    '</text:p></table:table-cell>'
    '<table:table-cell office:value-type="string"><office:annotation><text:p>hidden note'
    '</text:p></office:annotation><text:p>Mark</text:p></table:table-cell>'
    '</table:table-row></table:table-header-rows>'
    '<table:table-row table:number-rows-repeated="2">'
    '<table:table-cell office:value-type="float" office:value="300039595"><text:p>300,039,595'
    '</text:p></table:table-cell>'
    '<table:table-cell table:number-columns-repeated="2" office:value-type="percentage" '
    'office:value="0.5"><text:p>50%</text:p></table:table-cell>'
    '<table:table-cell table:number-columns-repeated="16380"/></table:table-row>'
    '<table:table-row table:number-rows-repeated="3"><table:table-cell '
    'table:number-columns-repeated="1024"/></table:table-row>'
    '<table:table-row><table:table-cell table:number-columns-spanned="2" '
    'office:value-type="string"><text:p>two</text:p><text:p><text:span>lines</text:span>'
    '</text:p></table:table-cell><table:covered-table-cell/>'
    '<table:table-cell office:value-type="float" office:value="7.85E1"><text:p>79</text:p>'
    '</table:table-cell></table:table-row>'
    '<table:table-row table:number-rows-repeated="1048000"><table:table-cell '
    'table:number-columns-repeated="1024"/></table:table-row></table:table>'
    '<table:table table:name="Other"><table:table-row><table:table-cell office:value-type="string">'
    '<text:p>not read</text:p></table:table-cell></table:table-row></table:table>'
    '</office:spreadsheet></office:body></office:document-content>')
MANIFEST = (
    '<?xml version="1.0" encoding="UTF-8"?><manifest:manifest xmlns:manifest="urn:oasis:names:tc:'
    'opendocument:xmlns:manifest:1.0"><manifest:file-entry manifest:full-path="/" '
    'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/></manifest:manifest>')
DOCTYPE = (
    '<?xml version="1.0"?><!DOCTYPE worksheet [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]>'
    '<worksheet><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>&b;</t></is></c></row>'
    '</sheetData></worksheet>')


def xlsx(path, sheet):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('[Content_Types].xml', XLSX_TYPES)
        z.writestr('xl/workbook.xml', WORKBOOK)
        z.writestr('xl/_rels/workbook.xml.rels', RELS)
        z.writestr('xl/strings.xml', STRINGS)
        z.writestr('xl/styles.xml', STYLES)
        z.writestr('xl/worksheets/marks.xml', sheet)
        z.writestr('xl/worksheets/other.xml', OTHER)


def ods(path, content, manifest=MANIFEST):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr(zipfile.ZipInfo('mimetype'), 'application/vnd.oasis.opendocument.spreadsheet')
        z.writestr('META-INF/manifest.xml', manifest)
        z.writestr('content.xml', content)


def mark_encrypted(path):
    # Sets the "encrypted" bit of every part, local headers and directory alike.
    data = bytearray(open(path, 'rb').read())
    for signature, offset in ((b'PK\x03\x04', 6), (b'PK\x01\x02', 8)):
        at = data.find(signature)
        while at >= 0:
            flags = struct.unpack_from('<H', data, at + offset)[0]
            struct.pack_into('<H', data, at + offset, flags | 1)
            at = data.find(signature, at + 4)
    open(path, 'wb').write(bytes(data))


open('bom-quotes.csv', 'wb').write(
    '\ufeffStudent No,Last Name,First Name,Note,Mark\r\n'
    '300039595,Tremblay,Tess,"Said ""hi"", then left", 78.5\r\n'
    '300039596,Roy,\u00c9lodie,"two\r\nlines",89 %\r\n'.encode('utf-8'))
open('utf16-tabs.txt', 'wb').write(
    '\ufeffStudent ID\tSurname\tFinal %\n300039595\tTr\u00e9mblay\t81\n'.encode('utf-16-le'))
open('cp1252-semicolons.csv', 'wb').write(
    'Num\u00e9ro;Nom;Note\r\n300039595;Tremblay, Tess;78,5\r\n'
    '300039596;Roy, \u00c9lodie;89,4 %\r\n'.encode('cp1252'))
xlsx('parts.xlsx', SHEET)
xlsx('doctype.xlsx', DOCTYPE)
ods('repeated.ods', CONTENT)
# 2 MB of blanks packed into a few kilobytes, and a part of 51 MB.
ods('packed-tight.ods', CONTENT.replace('<office:body>', '<office:body>' + ' ' * 2_000_000))
with zipfile.ZipFile('huge-part.ods', 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr('content.xml', b'\0' * (51 * 1024 * 1024))
ods('encrypted.ods', CONTENT)
mark_encrypted('encrypted.ods')
