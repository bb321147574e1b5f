#pragma once
// The windows' text face: Tahoma where it is installed, the desktop's sans-serif where it is not.
#include <QFont>

namespace tavrin {

inline QFont tahomaFont(double pointSize, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace tavrin
