// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fonts.h"

#include <QFont>

namespace tl {

void installFontSubstitutes() {
    QFont::insertSubstitution("Courier New", "Liberation Mono");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

}  // namespace tl
