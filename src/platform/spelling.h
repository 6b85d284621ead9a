// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <memory>
#include <vector>

#include "core/pronouns.h"

class Hunspell;

namespace tl {

struct StudentRecord;
struct Phrase;

// The dictionary of a folder, opened when first asked for and then kept for
// the program: the library's they-forms and the free-form dialog's spelling
// check share it.
class SharedDictionary {
  public:
    explicit SharedDictionary(QString folder) : folder_(std::move(folder)) {}
    // Nothing when the folder holds no dictionary.
    std::shared_ptr<Hunspell> hunspell();

  private:
    QString folder_;
    bool opened_ = false;
    std::shared_ptr<Hunspell> hunspell_;
};

// Whether the shared dictionary knows a word; it is opened at the first word
// asked. A spelling check adds the class's words to it, so the they-forms are
// made before one is opened on it.
KnowsWord dictionaryWords(std::shared_ptr<SharedDictionary> dictionary);

// Where the spelling check finds its dictionary (en_CA.aff and en_CA.dic)
// and keeps the words the teacher adds (personal_words.txt).
struct SpellingFolders {
    QString dictionaries;
    QString wordList;
    // The program's dictionary, when it is open already or will be: used
    // instead of opening the folder's again.
    std::shared_ptr<SharedDictionary> shared = {};

    // Debian's Hunspell dictionaries and the user's data folder.
    static SpellingFolders forRunningProgram();
};

// The dictionary of the folder alone, without the teacher's words: what the
// they-forms of the phrase library are made with. Empty when the folder holds
// no dictionary.
KnowsWord dictionaryWords(const QString& dictionaryFolder);

// One word of a text: where it starts and how many characters it has.
struct WordSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The Canadian English Hunspell dictionary with the words of the class, the
// phrase library and the teacher's word list. The dictionary is UTF-8; the
// word list is UTF-8, or Windows-1252 when it was written so, and keeps its
// encoding; the class and the library are Windows-1252, and a suggestion that
// Windows-1252 cannot hold is never given.
class Spelling {
  public:
    // Nothing when the folder holds no dictionary (or one that is not UTF-8).
    static std::unique_ptr<Spelling> open(const SpellingFolders& folders);
    ~Spelling();
    Spelling(const Spelling&) = delete;
    Spelling& operator=(const Spelling&) = delete;

    // The words of a text: letters and digits, with apostrophes between them;
    // a word holding a digit ("10th", "Q3") is left out.
    static QList<WordSpan> words(QStringView text);

    bool isKnown(QStringView word) const;
    // The dictionary's suggestions, best first.
    QStringList suggestions(QStringView word) const;

    // Every name of the class and every word of the library count as known.
    void addKnownWords(const std::vector<StudentRecord>& students,
                       const std::vector<Phrase>& phrases);
    // Whether the word can join the teacher's list: a list kept in
    // Windows-1252 takes only the words that it can hold.
    bool canAddToWordList(const QString& word) const;
    // Known from now on, and kept in the word list; false (the word then
    // counts as known until the program ends) when the list could not be
    // written: a read-only or linked list, a folder or disk that takes nothing.
    bool addToWordList(const QString& word);
    QString wordListPath() const;

  private:
    Spelling(std::shared_ptr<Hunspell> hunspell, QString wordListFolder);
    void addKnown(const QString& word);
    bool saveInWordList(const QString& word) const;

    std::shared_ptr<Hunspell> hunspell_;
    QString wordListFolder_;
    QSet<QString> added_;
};

// Underlines the words of a block that the spelling check does not know. Only
// the blocks that change are checked, as the teacher types.
class SpellingHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    SpellingHighlighter(QTextDocument* document, std::unique_ptr<Spelling> spelling);
    Spelling& spelling() { return *spelling_; }

  protected:
    void highlightBlock(const QString& text) override;

  private:
    std::unique_ptr<Spelling> spelling_;
    QTextCharFormat misspelt_;
};

}  // namespace tl
