// The spelling check of the free-form dialog, with the small dictionary in
// tests/data/spelling: underlines, suggestions, words known from the class
// and the library, the teacher's word list, and the dialog without a dictionary.
#include <unistd.h>

#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

using namespace Qt::Literals::StringLiterals;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QString kDictionary = QString(TL_TEST_DATA) + "/spelling";
const QString kStandard = "(Undo, Redo, ...)";

struct Dialog {
    Workspace ws;
    ScriptedPrompts prompts;
    QTemporaryDir words;  // the word list's folder
    std::unique_ptr<frmFreeFormCommentEntry> dialog;
    QPlainTextEdit* box = nullptr;

    void open(const QString& text, QString wordList = {}, const QString& dict = kDictionary) {
        if (wordList.isEmpty()) wordList = words.path();
        dialog = std::make_unique<frmFreeFormCommentEntry>(ws, prompts, nullptr,
                                                           SpellingFolders{dict, wordList});
        box = control<QPlainTextEdit>(dialog.get(), "txtComment");
        dialog->show();
        dialog->setComment(text);
        settle();
    }
    QStringList underlined() const {
        QStringList words;
        for (const QTextLayout::FormatRange& r : box->document()->firstBlock().layout()->formats())
            if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words << box->toPlainText().mid(r.start, r.length);
        return words;
    }
    // Opens the text box's menu on a word by the mouse or by Shift+F10, and
    // chooses the entry named. Its entries, the text box's own as one.
    QStringList menuOn(const QString& word, bool mouse, const QString& choose = {}) {
        QTextCursor caret(box->document());
        caret.setPosition(static_cast<int>(box->toPlainText().indexOf(word)) + 1);
        QStringList entries;
        QTimer::singleShot(0, [&entries, choose] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (QAction* a : menu->actions()) {
                if (a->text().startsWith("&Undo")) entries << kStandard;
                if (entries.endsWith(kStandard)) break;
                if (!a->isSeparator()) entries << a->text() + (a->isEnabled() ? "" : " (off)");
                if (a->text() == choose) a->trigger();
            }
            menu->close();
        });
        if (mouse) {
            const QPoint at = box->cursorRect(caret).center();
            QContextMenuEvent click(QContextMenuEvent::Mouse, at, box->viewport()->mapToGlobal(at));
            QApplication::sendEvent(box->viewport(), &click);
        } else {
            box->setTextCursor(caret);
            QTest::keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
        }
        settle();
        return entries;
    }
};

}  // namespace

class FreeFormSpellingTest : public QObject {
    Q_OBJECT
  private slots:
    void underlinesAndSuggests() {
        Dialog d;
        // Words with digits are left alone; an apostrophe is part of a word only inside it.
        d.open("A curious zwyx's writes with flair 10th Q3; 'glimmor' maps, cax.");
        QCOMPARE(d.underlined(), (QStringList{"zwyx's", "glimmor", "cax"}));

        // The dictionary offers glimmör and glimmőr too: Windows-1252 lacks ő,
        // and the stored comment would turn ö into a blank.
        auto& spelling = d.box->document()->findChild<SpellingHighlighter*>()->spelling();
        QCOMPARE(spelling.suggestions(u"glimmor"), (QStringList{"glimmer", "glimmar", "glimmör"}));
        QCOMPARE(d.menuOn("glimmor", true, "glimmar"),
                 (QStringList{"glimmer", "glimmar", "&Add to Dictionary", kStandard}));
        // Up to five suggestions; a word without any says so.
        QCOMPARE(d.menuOn("cax", false, "cat"),
                 (QStringList{"can", "car", "cat", "cad", "cap", "&Add to Dictionary", kStandard}));
        QCOMPARE(d.menuOn("zwyx", false),
                 (QStringList{"No Suggestions (off)", "&Add to Dictionary", kStandard}));
        QCOMPARE(d.underlined(), QStringList{"zwyx's"});

        // The underline is no part of the text taken over.
        press(d.dialog.get(), "cmdOkay");
        QCOMPARE(d.ws.freeFormDraft,
                 std::string("A curious zwyx's writes with flair 10th Q3; 'glimmar' maps, cat."));
        QVERIFY(d.prompts.asked.isEmpty());
    }

    void knowsTheClassAndTheLibrary() {
        Dialog d;
        StudentRecord s;
        s.firstName = "Ma\xEBva";  // Windows-1252, as the class file holds it
        s.lastName = "Quillon-Marsh";
        d.ws.students = {s};
        d.ws.phrases = {{"0001", "@ perseveres with tenacity.", "1"}};
        // None of these words is in the test dictionary.
        d.open("Maëva Quillon-Marsh perseveres with tenacity.");
        QCOMPARE(d.underlined(), QStringList{});
    }

    void keepsAddedWordsBetweenRuns() {
        Dialog d;
        d.open("Blorptastic maps");
        d.menuOn("Blorptastic", false, "&Add to Dictionary");
        QCOMPARE(d.underlined(), QStringList{});
        QCOMPARE(contents(d.words.filePath("personal_words.txt")), QByteArray("Blorptastic\r\n"));
        d.open("Blorptastic maps");
        QCOMPARE(d.underlined(), QStringList{});
        // A list written elsewhere: a byte-order mark, a NUL byte and a line of
        // a megabyte neither break it nor hide its good words.
        writeFile(d.words.filePath("personal_words.txt"),
                  QByteArray("\xEF\xBB\xBF"
                             "Blorptastic\r\nx") +
                      '\0' + "y\r\n" + QByteArray(1 << 20, 'q') + "\r\nZorbish\r\n");
        d.open("Blorptastic Zorbish maps");
        QCOMPARE(d.underlined(), QStringList{});
    }

    void aWordListKeepsItsEncoding() {
        // A list written in Windows-1252 reads as such, and a word joins it in
        // Windows-1252; a word Windows-1252 cannot hold is not offered for it.
        Dialog d;
        const QString list = d.words.filePath("personal_words.txt");
        const QByteArray windows1252 = "\xE9l\xE8ve\r\nna\xEFve\r\n";
        writeFile(list, windows1252);
        d.open(u"\u00E9l\u00E8ve na\u00EFve Blorp\u00E9 K\u0151rbish maps"_s);
        QCOMPARE(d.underlined(), (QStringList{u"Blorp\u00E9"_s, u"K\u0151rbish"_s}));
        d.menuOn(u"Blorp\u00E9"_s, false, "&Add to Dictionary");
        QCOMPARE(contents(list), windows1252 + "Blorp\xE9\r\n");
        QVERIFY(!d.menuOn(u"K\u0151rbish"_s, true).contains("&Add to Dictionary"));

        // A list in UTF-8 takes it, in UTF-8, after a last line without its end.
        writeFile(list, u"\u00E9l\u00E8ve"_s.toUtf8());
        d.open(u"K\u0151rbish maps"_s);
        d.menuOn(u"K\u0151rbish"_s, true, "&Add to Dictionary");
        QCOMPARE(contents(list), u"\u00E9l\u00E8ve\r\nK\u0151rbish\r\n"_s.toUtf8());
        QCOMPARE(d.underlined(), QStringList{});
        QVERIFY(d.prompts.messages().isEmpty());
    }

    void aListThatCannotBeWrittenIsReportedAndLeftAsItWas() {
        // A folder that is a file; a read-only list; a link to a list kept
        // elsewhere; a second name of that file.
        const QStringList words{"Quorblet", "Snarfle", "Wuzzock", "Frindle"};
        for (int n = 0; n < words.size(); ++n) {
            Dialog d;
            QString folder = d.words.path();
            const QString list = d.words.filePath("personal_words.txt");
            const QString elsewhere = d.words.filePath("elsewhere.txt");
            if (n == 0) {
                writeFile(d.words.filePath("a file"), "");
                folder = d.words.filePath("a file") + "/words";
            } else if (n == 1) {
                writeFile(list, "maps\r\n");
                QVERIFY(QFile::setPermissions(list, QFile::ReadOwner | QFile::ReadGroup));
            } else {
                writeFile(elsewhere, "maps\r\n");
                QVERIFY(n == 2
                            ? QFile::link(elsewhere, list)
                            : ::link(QFile::encodeName(elsewhere), QFile::encodeName(list)) == 0);
            }
            d.open(words[n] + " maps", folder);
            d.menuOn(words[n], true, "&Add to Dictionary");
            QCOMPARE(d.underlined(), QStringList{});
            const QString path =
                QDir::toNativeSeparators(QDir(folder).filePath("personal_words.txt"));
            QCOMPARE(d.prompts.messages(),
                     QStringList{toQString(msg::tl22WordListNotSaved(fromQString(path)).text)});
            if (n > 0) QCOMPARE(contents(list), QByteArray("maps\r\n"));
            QCOMPARE(QFileInfo(list).isSymLink(), n == 2);

            // The word stays known until the program ends, in every dialog.
            Dialog later;
            later.open(words[n]);
            QCOMPARE(later.underlined(), QStringList{});
        }
    }

    void withoutDictionary() {
        Dialog d;
        d.open("A studnet", {}, d.words.path());  // a folder without a dictionary
        QCOMPARE(d.underlined(), QStringList{});
        QCOMPARE(d.menuOn("studnet", true), QStringList{kStandard});
        press(d.dialog.get(), "cmdOkay");
        QCOMPARE(d.ws.freeFormDraft, std::string("A studnet"));
        QVERIFY(d.prompts.asked.isEmpty() && QDir(d.words.path()).isEmpty());
    }
};

QTEST_MAIN(FreeFormSpellingTest)
#include "tst_free_form_spelling.moc"
