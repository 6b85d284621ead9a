// SPDX-License-Identifier: GPL-3.0-or-later

#include "doubles/scripted_prompts.h"

#include "platform/encoding.h"

namespace tl {

void ScriptedPrompts::message(const Notice& notice) {
    asked.append({Kind::Message, toQString(notice.text), toQString(notice.title), {}, {}});
}

namespace {
// The next queued answer; an empty queue answers No or Cancel and counts as unexpected.
template <typename Queue>
auto next(Queue& answers, int& unexpected) {
    if (answers.isEmpty()) {
        ++unexpected;
        return typename Queue::value_type();
    }
    return answers.takeFirst();
}
}  // namespace

bool ScriptedPrompts::askYesNo(const QString& text, const QString& title) {
    asked.append({Kind::YesNo, text, title, {}, {}});
    return next(yesNoAnswers, unexpected);
}

QString ScriptedPrompts::openFile(const FileRequest& request) {
    asked.append({Kind::Open, {}, {}, request, {}});
    return next(fileAnswers, unexpected);
}

QString ScriptedPrompts::saveFile(const FileRequest& request) {
    asked.append({Kind::Save, {}, {}, request, {}});
    return next(fileAnswers, unexpected);
}

QString ScriptedPrompts::inputBox(const QString& prompt, const QString& title,
                                  const QString& text) {
    asked.append({Kind::Input, prompt, title, {}, text});
    return next(inputAnswers, unexpected);
}

std::unique_ptr<TextPrinter> ScriptedPrompts::choosePrinter() {
    asked.append({Kind::Print, {}, {}, {}, {}});
    if (!next(printAnswers, unexpected)) return nullptr;
    lastPrint = std::make_shared<PrintRecord>();
    return std::make_unique<RecordingPrinter>(lastPrint);
}

QStringList ScriptedPrompts::messages() const {
    QStringList texts;
    for (const Asked& a : asked)
        if (a.kind == Kind::Message) texts.append(a.text);
    return texts;
}

int ScriptedPrompts::count(Kind kind) const {
    int n = 0;
    for (const Asked& a : asked)
        n += a.kind == kind ? 1 : 0;
    return n;
}

}  // namespace tl
