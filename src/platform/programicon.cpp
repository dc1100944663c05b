#include "programicon.h"

#include <QPainter>

QIcon ProgramIcon() {
    // Made once: every window and the tray share it.
    static const QIcon icon = [] {
        QIcon made;
        for (int size : {16, 22, 32, 48, 64})
            made.addFile(QStringLiteral(":/icons/velmorand-%1.png").arg(size), QSize(size, size));
        return made;
    }();
    return icon;
}

QIcon RingingIcon() {
    static const QIcon icon = [] {
        QIcon made;
        for (int size : {16, 22, 32, 48, 64}) {
            QPixmap pixmap = ProgramIcon().pixmap(size, size);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal d = size * 0.55;
            const QRectF dot(size - d, size - d, d - 0.5, d - 0.5);
            painter.setPen(QPen(Qt::white, qMax(1.0, size / 16.0)));
            painter.setBrush(QColor(0xd0, 0x10, 0x10));
            painter.drawEllipse(dot);
            made.addPixmap(pixmap);
        }
        return made;
    }();
    return icon;
}
