#pragma once

#include <QPixmap>

namespace tl {

// The program's own pictures, drawn at the size asked for.
QPixmap leafPicture(int size);
QPixmap reportCardPicture(int size);

}  // namespace tl
