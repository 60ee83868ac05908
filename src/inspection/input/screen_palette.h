#pragma once

#include <QColor>
#include <QList>
#include <QString>

namespace tagsmith::inspection::input {

struct ScreenTestColor {
    QString name;
    quint32 rgb = 0; // 0xRRGGBB
};

// The solid colours of the screen test, in showing order; as many as
// kScreenTestColourCount, which the screen item's instruction names.
const QList<ScreenTestColor>& inspectionScreenPalette();

// The colour of one palette entry in sRGB, opaque.
QColor screenTestColor(int index);

} // namespace tagsmith::inspection::input
