#include "ui/UiStyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace obrenta::ui {

QFont UiFont() {
    QFont font(QStringLiteral("IPAPGothic"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

namespace {

struct BaseUnits {
    double x;
    double y;
};

BaseUnits Base(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(alphabet) / 52.0, metrics.height()};
}

}  // namespace

int DialogUnitsX(const QFont& font, int units) {
    return qRound(units * Base(font).x / 4.0);
}

int DialogUnitsY(const QFont& font, int units) {
    return qRound(units * Base(font).y / 8.0);
}

QSize DialogUnits(const QFont& font, int width, int height) {
    return {DialogUnitsX(font, width), DialogUnitsY(font, height)};
}

double ColumnScale(const QFont& font) {
    const double digit = QFontMetricsF(font).horizontalAdvance(QStringLiteral("0123456789")) / 10.0;
    return std::max(1.0, digit / 6.0);
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double unit = size / 64.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1f, 0x6f, 0x4a));
        painter.drawRoundedRect(QRectF(2 * unit, 2 * unit, 60 * unit, 60 * unit), 10 * unit, 10 * unit);
        // Three bars of a chart over the green of a mahjong table.
        painter.setBrush(QColor(0xf4, 0xf1, 0xe6));
        painter.drawRect(QRectF(12 * unit, 34 * unit, 10 * unit, 18 * unit));
        painter.drawRect(QRectF(27 * unit, 22 * unit, 10 * unit, 30 * unit));
        painter.drawRect(QRectF(42 * unit, 12 * unit, 10 * unit, 40 * unit));
        painter.setBrush(QColor(0xd9, 0x3b, 0x2b));
        painter.drawEllipse(QPointF(47 * unit, 17 * unit), 3 * unit, 3 * unit);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace obrenta::ui
