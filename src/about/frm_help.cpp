// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/frm_help.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/limits.h"
#include "core/program_info.h"
#include "platform/accessibility.h"
#include "platform/widgets.h"

namespace tl {

QString frmHelp::printstuff() {
    const QStringList lines = {"Tallyleaf",
                               QString("Version ") + kVersion,
                               "",
                               "Growing Success - Compliant",
                               "",
                               "Developed at ",
                               kSchoolName,
                               QString("by") + " the Tallyleaf developers",
                               QString("and") + " the Tallyleaf contributors",
                               "",
                               kSupportAddress,
                               kWebAddress};
    QString text;
    for (const QString& line : lines)
        text += line + "\r\n";
    return text;
}

frmHelp::frmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp");
    setWindowTitle("Help");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    QFont font("MS Sans Serif");
    font.setPointSize(12);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    nameControl(Text1, "About Tallyleaf");
    Text1->setFont(font);
    Text1->setReadOnly(true);
    // The text is built anew each time the window is loaded.
    Text1->setPlainText(printstuff().replace("\r\n", "\n"));

    Command1 = new QPushButton("&CLOSE", this);
    Command1->setObjectName("Command1");
    Command1->setFont(font);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);
    resize(420, 400);
    chainTabOrder({Text1, Command1});
}

}  // namespace tl
