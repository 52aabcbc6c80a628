#pragma once

#include <QFont>
#include <QIcon>
#include <QSize>

class QWidget;

namespace obrenta::ui {

// IPAPGothic at 9 points: the proportional Japanese face every window of the program uses.
QFont UiFont();

// A size given in dialog units of font (a quarter of the average character width across, an
// eighth of the character height down), in pixels. The pages keep their proportions this way
// whatever the face turns out to measure.
QSize DialogUnits(const QFont& font, int width, int height);
int DialogUnitsX(const QFont& font, int units);
int DialogUnitsY(const QFont& font, int units);

// Column widths are given in pixels of a face whose digits are 6 pixels wide; a wider face gets
// its columns widened by this factor (never narrowed), so that numbers are not cut off.
double ColumnScale(const QFont& font);

// The program's icon, painted so that it needs no image plugin.
QIcon AppIcon();

}  // namespace obrenta::ui
