#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QWidget;

namespace tagsmith::inspection {

// Every inspection page is laid out on this area, the content of one tab of
// the collector window. Pages size their view to it.
inline constexpr QSize kInspectionPageSize(1010, 640);

// Frames in this system's layouts are measured from the lower-left corner of
// the container; widgets are placed from the upper-left.
QRect flippedFrame(const QRect& fromBottomLeft, int containerHeight);

// The system font at a size in points, which are device-independent pixels
// on every platform (so layouts measured in points keep their proportions).
QFont inspectionFont(int size, QFont::Weight weight = QFont::Normal);

// A wrapping label with the text in the chosen language (through L10n::source).
QLabel* inspectionLabel(const QString& text, const QRect& frame, QWidget* parent, int size = 14, bool bold = false);

// A push button titled in the chosen language, added to view; frame from the upper-left.
QPushButton* inspectionButton(const QString& title, const QRect& frame, QWidget* view, std::function<void()> action);

} // namespace tagsmith::inspection
