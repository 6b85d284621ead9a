// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

namespace tl {

// The program's style: the desktop's, with what it draws alike again and
// again kept. Fusion draws a scroll bar's gradients and outlines point by
// point, and a window mostly shows its scroll bars as they looked the time
// before (each new preview, list or grid of the same size at the top): each
// look is drawn once and then copied. A standard icon is looked up in the
// icon theme once (every menu bar asks for its extension button's). Tall
// copies and group frames are drawn in bands, which Qt draws without handing
// them to its drawing threads.
class ProgramStyle : public QProxyStyle {
  public:
    explicit ProgramStyle(QStyle* base);
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

  private:
    bool fusion_;
    mutable QHash<int, QIcon> icons_;
};

// Gives the application the style of its windows, wrapped in ProgramStyle.
void installProgramStyle();

// Called before the application is made: Qt's own event loop rather than
// GLib's. GLib's wakes the loop with a system call for every event posted, and
// every new control posts one (a hundred and more as Comment Selection opens);
// Qt's wakes it once until it runs. No GLib code shares the loop: the file
// dialogs are Qt's own.
void useQtEventLoop();

}  // namespace tl
