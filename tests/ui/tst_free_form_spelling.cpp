// SPDX-License-Identifier: GPL-3.0-or-later

// The spelling check of the free-form dialog, with the small dictionary in
// tests/data/spelling: underlines, suggestions, words known from the class
// and the library, the teacher's word list, and the dialog without a dictionary.
#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kStandard = "(Undo, Redo, ...)";
const QString kAdd = "&Add to Dictionary";

// The dialog on a comment, with the word list in the home folder.
struct Dialog {
    Workspace ws;
    ScriptedPrompts prompts;
    TempSchool school;
    std::unique_ptr<frmFreeFormCommentEntry> dialog;
    QPlainTextEdit* box = nullptr;

    void open(const QString& text,
              const QString& dictionary = QString(TL_TEST_DATA) + "/spelling") {
        dialog = std::make_unique<frmFreeFormCommentEntry>(
            ws, prompts, nullptr, SpellingFolders{dictionary, school.homeFolder()});
        box = control<QPlainTextEdit>(dialog.get(), "txtComment");
        dialog->show();
        dialog->setComment(text);
        settle();
    }
    QString list() const { return school.homeFolder() + "/personal_words.txt"; }
    QString writeList(const QByteArray& bytes) const {
        return school.write("home/personal_words.txt", bytes);
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
    void underlinesAndSuggestsWithADictionaryOnly() {
        Dialog d;
        StudentRecord s;
        s.firstName = "Ma\xEBva";  // Windows-1252, as the class file holds it
        s.lastName = "Quillon-Marsh";
        d.ws.doc.replaceClass({s});
        d.ws.phrases = {{"0001", "@ perseveres with tenacity.", "1"}};
        // The class's names and the library's words are known; words with
        // digits are left alone; an apostrophe is part of a word only inside it.
        d.open("Maëva Quillon-Marsh perseveres with tenacity: zwyx's writes 10th Q3; 'glimmor'.");
        QCOMPARE(d.underlined(), (QStringList{"zwyx's", "glimmor"}));

        // The dictionary's glimmör and glimmőr are not offered: Windows-1252
        // lacks ő, and the stored comment would turn ö into a blank. A word
        // without suggestions says so.
        QCOMPARE(d.menuOn("glimmor", true, "glimmar"),
                 (QStringList{"glimmer", "glimmar", kAdd, kStandard}));
        QCOMPARE(d.menuOn("zwyx", false, kAdd),
                 (QStringList{"No Suggestions (off)", kAdd, kStandard}));
        // A word added starts the teacher's list.
        QCOMPARE(d.underlined(), QStringList{});
        QCOMPARE(contents(d.list()), QByteArray("zwyx's\r\n"));

        // The underline is no part of the text taken over.
        press(d.dialog.get(), "cmdOkay");
        QCOMPARE(d.dialog->draft(), std::string("Ma\xEBva Quillon-Marsh perseveres with tenacity: "
                                                "zwyx's writes 10th Q3; 'glimmar'."));
        QVERIFY(d.prompts.asked.isEmpty());

        // Without a dictionary nothing is underlined or offered, and no word
        // list is made.
        Dialog bare;
        bare.open("A studnet", bare.school.dataFolder());
        QCOMPARE(bare.underlined(), QStringList{});
        QCOMPARE(bare.menuOn("studnet", true), QStringList{kStandard});
        QVERIFY(QDir(bare.school.homeFolder()).isEmpty());
    }

    void theWordListKeepsAddedWordsInItsEncoding() {
        // A list written elsewhere in Windows-1252 reads as such; a NUL byte
        // and a line of a megabyte neither break it nor hide its good words.
        // A word joins it in Windows-1252, the rest kept byte for byte; a word
        // Windows-1252 cannot hold is not offered for it.
        const QByteArray windows1252 = "\xE9l\xE8ve\r\nx" + QByteArray(1, '\0') + "y\r\n" +
                                       QByteArray(1 << 20, 'q') + "\r\nna\xEFve\r\n";
        Dialog d;
        d.writeList(windows1252);
        d.open(u"\u00E9l\u00E8ve na\u00EFve Blorp\u00E9 K\u0151rbish maps"_s);
        QCOMPARE(d.underlined(), (QStringList{u"Blorp\u00E9"_s, u"K\u0151rbish"_s}));
        d.menuOn(u"Blorp\u00E9"_s, false, kAdd);
        QCOMPARE(contents(d.list()), windows1252 + "Blorp\xE9\r\n");
        QVERIFY(!d.menuOn(u"K\u0151rbish"_s, true).contains(kAdd));
    }

    void aListThatCannotBeWrittenIsReportedAndLeftAsItWas() {
        // A read-only list, and a link to a list kept elsewhere.
        for (const bool link : {false, true}) {
            Dialog d;
            const QString elsewhere = d.school.write("elsewhere.txt", "maps\r\n");
            if (link) QVERIFY(QFile::link(elsewhere, d.list()));
            if (!link) QVERIFY(QFile::setPermissions(d.writeList("maps\r\n"), QFile::ReadOwner));
            const QString word = link ? "Wuzzock" : "Snarfle";
            d.open(word + " maps");
            d.menuOn(word, true, kAdd);
            QCOMPARE(d.underlined(), QStringList{});
            const std::string path = fromQString(QDir::toNativeSeparators(d.list()));
            QCOMPARE(d.prompts.messages(),
                     QStringList{toQString(msg::tl22WordListNotSaved(path).text)});
            QCOMPARE(contents(d.list()), QByteArray("maps\r\n"));
            QCOMPARE(QFileInfo(d.list()).isSymLink(), link);
        }
    }
};

QTEST_MAIN(FreeFormSpellingTest)
#include "tst_free_form_spelling.moc"
