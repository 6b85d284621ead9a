// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "doubles/recording_printer.h"
#include "platform/prompts.h"

namespace tl {

// Prompts for tests: records what was asked and answers from queues. An
// empty queue answers No or Cancel and counts as an unexpected question.
class ScriptedPrompts : public Prompts {
  public:
    enum class Kind { Message, YesNo, Open, Save, Input, Print };
    struct Asked {
        Kind kind;
        QString text;
        QString title;
        FileRequest request;
        QString value;  // the text an input box opened with
    };

    QList<bool> yesNoAnswers;
    QStringList fileAnswers;   // for Open and Save alike; "" cancels
    QStringList inputAnswers;  // "" cancels
    QList<bool> printAnswers;  // true prints on a recording printer
    QList<Asked> asked;
    std::shared_ptr<PrintRecord> lastPrint;  // what the last accepted Print dialog printed
    int unexpected = 0;

    void message(const Notice& notice) override;
    bool askYesNo(const QString& text, const QString& title) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& text) override;
    std::unique_ptr<TextPrinter> choosePrinter() override;
    void endProgram(int status) override { endedWith = status; }
    int endedWith = 0;  // the status the program was ended with, 0 while it runs

    // The texts of the messages shown, in order.
    QStringList messages() const;
    // How many questions of a kind were asked.
    int count(Kind kind) const;
};

}  // namespace tl
