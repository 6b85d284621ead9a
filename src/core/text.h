// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text routines shared by the file formats and the windows. Text is held as
// Windows-1252 bytes: one character is one byte, positions count from 1.
namespace tl {

// Removes the first comma-separated field from line and returns it. A field
// that begins with a double quote runs to the next double quote (commas kept);
// the closing quote and the character after it are dropped. When the closing
// quote is missing, the field is the rest of the line and *unterminated is set.
std::string nextCsvField(std::string& line, bool* unterminated = nullptr);
std::string_view nextCsvField(std::string_view& line, bool* unterminated = nullptr);

// The value with every double quote, which no field can escape, made an
// apostrophe and every line break made a blank.
std::string unquotable(std::string_view value);

// A value written as one comma-separated field that nextCsvField reads back:
// unquotable, and enclosed in double quotes when it holds a comma.
std::string csvField(std::string_view value);

// Number of occurrences of c in text.
int countChar(std::string_view text, char c);

// The text without every character that is not a to z, A to Z or 0 to 9.
std::string alphanumericOnly(std::string_view text);

// "0" added in front until the text is at least width characters long.
std::string padLeftZeros(std::string_view text, int width);

// Blanks appended until the text is at least width characters long.
std::string padRight(std::string_view text, int width);

// Position (from 1) of sought in text compared in upper case, or 0.
int findIgnoreCase(std::string_view text, std::string_view sought);

// Windows-1252 upper case of the text.
std::string toUpperCp1252(std::string_view text);

// A student number as its first three characters, characters 4 to 6 and its
// last three characters, joined by separator.
std::string threePartNumber(const std::string& number, std::string_view separator);

// Trims text, then removes and returns its first blank-separated word.
std::string nextWord(std::string& text);

// The text without leading and trailing blanks.
std::string_view trimBlanks(std::string_view text);

// The lines of a file's bytes; lines end with CR LF, LF or CR. A final line
// ending does not start another line.
std::vector<std::string_view> splitLines(std::string_view bytes);

// Reads a whole number such as " 7 " or "-12" that fits 16 bits; false otherwise.
bool parseInt16(std::string_view text, int& value);

// The leading decimal number of the text after leading blanks; 0 when there is none.
double leadingNumber(std::string_view text);

}  // namespace tl
