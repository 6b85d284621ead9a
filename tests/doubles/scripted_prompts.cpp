#include "doubles/scripted_prompts.h"

#include "platform/encoding.h"

namespace tl {

void ScriptedPrompts::message(const Notice& notice) {
    asked.append({Kind::Message, toQString(notice.text), toQString(notice.title), {}, {}});
}

bool ScriptedPrompts::askYesNo(const QString& text, const QString& title) {
    asked.append({Kind::YesNo, text, title, {}, {}});
    if (yesNoAnswers.isEmpty()) {
        ++unexpected;
        return false;
    }
    return yesNoAnswers.takeFirst();
}

QString ScriptedPrompts::openFile(const FileRequest& request) {
    asked.append({Kind::Open, {}, {}, request, {}});
    if (fileAnswers.isEmpty()) {
        ++unexpected;
        return QString();
    }
    return fileAnswers.takeFirst();
}

QString ScriptedPrompts::saveFile(const FileRequest& request) {
    asked.append({Kind::Save, {}, {}, request, {}});
    if (fileAnswers.isEmpty()) {
        ++unexpected;
        return QString();
    }
    return fileAnswers.takeFirst();
}

QString ScriptedPrompts::inputBox(const QString& prompt, const QString& title,
                                  const QString& text) {
    asked.append({Kind::Input, prompt, title, {}, text});
    if (inputAnswers.isEmpty()) {
        ++unexpected;
        return QString();
    }
    return inputAnswers.takeFirst();
}

std::unique_ptr<TextPrinter> ScriptedPrompts::choosePrinter() {
    asked.append({Kind::Print, {}, {}, {}, {}});
    if (printAnswers.isEmpty()) ++unexpected;
    if (printAnswers.isEmpty() || !printAnswers.takeFirst()) return nullptr;
    lastPrint = std::make_shared<PrintRecord>();
    return std::make_unique<RecordingPrinter>(lastPrint);
}

QStringList ScriptedPrompts::messages() const {
    QStringList texts;
    for (const Asked& a : asked) {
        if (a.kind == Kind::Message) texts.append(a.text);
    }
    return texts;
}

int ScriptedPrompts::count(Kind kind) const {
    int n = 0;
    for (const Asked& a : asked)
        n += a.kind == kind ? 1 : 0;
    return n;
}

}  // namespace tl
