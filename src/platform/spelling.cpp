// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/spelling.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "core/file_io.h"
#include "core/phrase_library.h"
#include "core/student_record.h"
#include "platform/encoding.h"

namespace tl {

namespace {

const char* const kDictionary = "en_CA";
const char* const kWordListFile = "personal_words.txt";
constexpr qsizetype kLongestWord = 100;

bool isApostrophe(QChar c) {
    return c == u'\'' || c == u'\u2019';
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c.isMark();
}

std::string utf8(QStringView word) {
    return word.toUtf8().toStdString();
}

// The teacher's list: one word a line, UTF-8 when the bytes are UTF-8 and
// Windows-1252 otherwise (a list kept by hand in another editor).
struct WordList {
    bool readable = true;  // false: the file is there but cannot be read
    bool windows1252 = false;
    QByteArray bytes;
    QStringList words;
};

// The text of UTF-8 bytes, or nothing when they are not UTF-8.
std::optional<QString> fromUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

WordList readWordList(const QString& path) {
    WordList list;
    const std::string file = toPath(path);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec))) return list;
    const auto bytes = readWholeFile(file);
    if (!bytes) {
        list.readable = false;
        return list;
    }
    list.bytes = QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    std::optional<QString> text = fromUtf8(list.bytes);
    list.windows1252 = !text;
    if (!text) text = toQString(QByteArray(list.bytes).replace("\xEF\xBB\xBF", "").toStdString());
    for (const QString& line : text->split(QRegularExpression("[\r\n]"))) {
        // A byte-order mark is dropped; a line that cannot be a word (control
        // characters, longer than any word) is passed over.
        const QString word = QString(line).remove(QChar(0xFEFF)).trimmed();
        const bool usable =
            !word.isEmpty() && word.size() <= kLongestWord &&
            std::none_of(word.begin(), word.end(), [](QChar c) { return c.unicode() < 32; });
        if (usable) list.words << word;
    }
    return list;
}

bool holdsInWindows1252(const QString& word) {
    return toQString(fromQString(word)) == word;
}

// A list that is read-only or a link (to another file, or one of several
// names of the same file) is not replaced by a plain file of its own.
bool mayReplace(const QString& path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && st.st_nlink == 1 && (st.st_mode & S_IWUSR) != 0 &&
           ::access(name.constData(), W_OK) == 0;
}

// The words added in this run whose list could not be written: known until
// the program ends, in every dialog.
QSet<QString>& unsavedWords() {
    static QSet<QString> words;
    return words;
}

}  // namespace

SpellingFolders SpellingFolders::forRunningProgram() {
    return {"/usr/share/hunspell",
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

namespace {
// The Canadian English dictionary of the folder; nothing when it holds none,
// or one that is not UTF-8.
std::unique_ptr<Hunspell> openDictionary(const QString& folder) {
    if (folder.isEmpty()) return nullptr;
    const QString base = QDir(folder).filePath(kDictionary);
    const QByteArray aff = QFile::encodeName(base + ".aff");
    const QByteArray dic = QFile::encodeName(base + ".dic");
    if (!isRegularFile(aff.toStdString()) || !isRegularFile(dic.toStdString())) return nullptr;
    auto hunspell = std::make_unique<Hunspell>(aff.constData(), dic.constData());
    const QString encoding = QString::fromLatin1(hunspell->get_dic_encoding());
    if (encoding.compare("UTF-8", Qt::CaseInsensitive) != 0) return nullptr;
    return hunspell;
}
}  // namespace

KnowsWord dictionaryWords(const QString& dictionaryFolder) {
    std::shared_ptr<Hunspell> hunspell = openDictionary(dictionaryFolder);
    if (!hunspell) return {};
    return [hunspell](std::string_view word) { return hunspell->spell(utf8(toQString(word))); };
}

std::shared_ptr<Hunspell> SharedDictionary::hunspell() {
    if (!opened_) {
        hunspell_ = openDictionary(folder_);
        opened_ = true;
    }
    return hunspell_;
}

KnowsWord dictionaryWords(std::shared_ptr<SharedDictionary> dictionary) {
    if (!dictionary) return {};
    return [dictionary](std::string_view word) {
        const std::shared_ptr<Hunspell> hunspell = dictionary->hunspell();
        return hunspell && hunspell->spell(utf8(toQString(word)));
    };
}

std::unique_ptr<Spelling> Spelling::open(const SpellingFolders& folders) {
    std::shared_ptr<Hunspell> hunspell =
        folders.shared ? folders.shared->hunspell() : openDictionary(folders.dictionaries);
    if (!hunspell) return nullptr;  // none, or no spelling check wanted
    std::unique_ptr<Spelling> spelling(new Spelling(std::move(hunspell), folders.wordList));
    if (!folders.wordList.isEmpty()) {
        for (const QString& word : readWordList(spelling->wordListPath()).words)
            spelling->addKnown(word);
    }
    for (const QString& word : unsavedWords())
        spelling->addKnown(word);
    return spelling;
}

Spelling::Spelling(std::shared_ptr<Hunspell> hunspell, QString wordListFolder)
    : hunspell_(std::move(hunspell)), wordListFolder_(std::move(wordListFolder)) {}

Spelling::~Spelling() = default;

QList<WordSpan> Spelling::words(QStringView text) {
    QList<WordSpan> spans;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        bool digit = false;
        while (i < n) {
            if (isWordChar(text[i])) {
                digit = digit || text[i].isNumber();
                ++i;
            } else if (isApostrophe(text[i]) && i + 1 < n && isWordChar(text[i + 1])) {
                ++i;
            } else {
                break;
            }
        }
        if (!digit) spans.append({start, i - start});
    }
    return spans;
}

bool Spelling::isKnown(QStringView word) const {
    return hunspell_->spell(utf8(word));
}

QStringList Spelling::suggestions(QStringView word) const {
    QStringList offered;
    for (const std::string& s : hunspell_->suggest(utf8(word))) {
        const QString text = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
        if (toQString(fromQString(text)) == text) offered << text;
    }
    return offered;
}

void Spelling::addKnown(const QString& word) {
    if (added_.contains(word)) return;
    added_.insert(word);
    hunspell_->add(utf8(word));
}

void Spelling::addKnownWords(const std::vector<StudentRecord>& students,
                             const std::vector<Phrase>& phrases) {
    const auto addWordsOf = [this](const std::string& cp1252) {
        const QString text = toQString(cp1252);
        for (const WordSpan& w : words(text)) {
            // A lone letter is left over from a placeholder such as "@'s".
            if (w.length > 1) addKnown(text.mid(w.start, w.length));
        }
    };
    for (const StudentRecord& s : students) {
        addWordsOf(s.firstName);
        addWordsOf(s.lastName);
    }
    for (const Phrase& p : phrases)
        addWordsOf(p.text);
}

QString Spelling::wordListPath() const {
    return QDir(wordListFolder_).filePath(kWordListFile);
}

bool Spelling::canAddToWordList(const QString& word) const {
    if (wordListFolder_.isEmpty()) return true;
    return !readWordList(wordListPath()).windows1252 || holdsInWindows1252(word);
}

bool Spelling::addToWordList(const QString& word) {
    addKnown(word);
    if (!saveInWordList(word)) {
        unsavedWords().insert(word);
        return false;
    }
    return true;
}

bool Spelling::saveInWordList(const QString& word) const {
    if (wordListFolder_.isEmpty() || !QDir().mkpath(wordListFolder_)) return false;
    // Read again first: another Tallyleaf may have added words meanwhile.
    const QString path = wordListPath();
    const WordList list = readWordList(path);
    if (!list.readable) return false;
    if (list.words.contains(word)) return true;
    if (!mayReplace(path)) return false;
    // The word joins the list in the list's own encoding; the rest stays byte for byte.
    if (list.windows1252 && !holdsInWindows1252(word)) return false;
    QByteArray bytes = list.bytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r')) bytes += "\r\n";
    if (list.windows1252) {
        bytes += QByteArray::fromStdString(fromQString(word));
    } else {
        bytes += word.toUtf8();
    }
    bytes += "\r\n";
    return writeFileAtomically(
        toPath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

SpellingHighlighter::SpellingHighlighter(QTextDocument* document,
                                         std::unique_ptr<Spelling> spelling)
    : QSyntaxHighlighter(document), spelling_(std::move(spelling)) {
    misspelt_.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt_.setUnderlineColor(Qt::red);
}

void SpellingHighlighter::highlightBlock(const QString& text) {
    for (const WordSpan& w : Spelling::words(text)) {
        if (!spelling_->isKnown(QStringView(text).mid(w.start, w.length)))
            setFormat(static_cast<int>(w.start), static_cast<int>(w.length), misspelt_);
    }
}

}  // namespace tl
